# Read by CTest in the Windows build, after the tests are listed. These tests write Linux's terms into
# their expected text, so they are shown as disabled there; tests/windows checks the same things on
# Windows' terms.
# - Terminal text and file names in UTF-8: on Windows the program rightly gives code page 932 text
#   and names (tests/windows/kifuconv-end-to-end, ConsoleTest.cpp, FileOpsTest.cpp).
# - Paths with "/" as their only separator, which Windows' path rules do not split at, and names
#   in UTF-8 or in bytes written through the C++ library, which MinGW's does not write as code page
#   932: the stored list, the settings file, the message boxes and the main window's own files
#   (ProgramFilesTest.cpp, ListingTest.cpp, window/MainFormTest.cpp).
# - What only POSIX has: the root "/", dot files as hidden files, mode bits, names that differ only
#   in letter case or hold a line break, the folder's own "." and ".." by those names, a program in
#   a bin folder (ListingTest.cpp, window/PlatformTest.cpp).
# - The add-files dialog's names as the folder spells them: Windows lower-cases them, as the
#   classic program did (window/AddfileTest.cpp).
# - A channel left behind by a program that went without its lock: a socket file is POSIX's; on
#   Windows a channel ends with its program (window/InstanceTest.cpp, and
#   tests/windows/morvane-end-to-end with two real programs). Signals, a second user and folder
#   modes in the other tests of tests/shell/InstanceTest.cpp and ProgramTest.cpp are POSIX's too,
#   so those are not built for Windows.
foreach(test
        Kifuconv.ReportsSkippedAndFailedFilesAndGoesOn
        Kifuconv.KeepsTheOldOutputWhenItCannotBecomeTheBackup
        Kifuconv.ConvertsJapaneseNamesInAJapaneseFolder
        ProgramFiles.RestoresTheRowsWhoseFilesAreThereOrWhoseFolderIsAway
        ProgramFiles.ListsNothingWithoutTheFileAndFailsOnAnUnreadableOne
        ProgramFiles.StoresFullPathsAndGivesThemBackTheSame
        ProgramFiles.AnEmptyListDeletesTheFile
        ProgramFiles.AFailedWriteLeavesTheOldFilesWhole
        ProgramFiles.ReadsTheSixValuesWithTheirDefaults
        ProgramFiles.WritesTheSixValuesInOrderAndKeepsTheRest
        ProgramFiles.KeepsAHiddenBoardInASectionOfItsOwnAndNothingUntilThen
        ProgramFiles.TheFolderIsBesideTheProgramUnlessItIsInstalled
        MessageBox.ShowsEachKindWithItsCaptionIconAndText
        MainForm.EachRowShowsItsOwnNameAndFolderDecoded
        MainForm.KeepsListPositionAndSettingsFromOneRunToTheNext
        MainForm.AnUnreadableListIsReportedAndNeitherItNorTheSettingsAreLost
        MainForm.AListThatCannotBeWrittenAtTheEndLeavesTheSettingsUnwritten
        MainForm.FullRunConvertsThroughTheWindowsAndKeepsTheFailedRows
        OpenFiles.FilesAndFoldersGiveRowsInTheirOrder
        FileList.AttributeSetsPickTheirEntries
        FileList.KeepsDuplicatesAndCaseEqualNamesSideBySide
        FileList.WritesRebuildAndOnlyANewDirectoryIsAnnounced
        FileList.SeparatorRuleOfBothStyles
        ListRules.AnInstalledProgramIsOneInABinFolderOrOneTheUserCannotWriteBeside
        AddfileTest.ChoosingAFolderListsItsRecordsAndOkAddsTheTickedOnes
        AddfileTest.TheSameFolderChosenTwiceKeepsTheTicksAndTwoHistoryEntries
        AddfileTest.HistoryGoesToTheNextDialogAndOnlyTheBrowserAddsToIt
        AddfileTest.AFileAlreadyListedIsNotAddedAgain
        AddfileTest.PressesRightOfOneLineHeightInvertTheSelectedLine
        AddfileTest.OkWithNothingTickedAndCancelAddNothing
        MainForm.FilesDroppedOrGivenAtStartBecomeRowsOnce
        Instance.TheFirstStartTakesTheFolderAndLaterStartsHandTheirFilesToIt)
    set_tests_properties(${test} PROPERTIES DISABLED TRUE)
endforeach()
# The corpus lies beside the Linux tree; under Wine its thousands of conversions would only repeat
# the Linux run.
set_tests_properties(KifuconvCheck.EveryCorpusRecordKeepsItsGameOrChangesOnlyByDesign
    PROPERTIES DISABLED TRUE)
# GNU Go is the Linux machine's program, which a Windows test cannot start; the Linux run referees
# the same reading and board.
set_tests_properties(GnuGoReferee.TheMainLineAndTheUgfWrittenEndInGnuGosPosition
    PROPERTIES DISABLED TRUE)
