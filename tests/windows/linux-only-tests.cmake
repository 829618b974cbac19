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
#   in letter case, the folder's own "." and ".." by those names, a program in a bin folder
#   (ListingTest.cpp, window/PlatformTest.cpp).
# - The add-files dialog's names as the folder spells them: Windows lower-cases them, as the
#   classic program did (window/AddfileTest.cpp).
# - The hand-over between two starts inside one test process: on Windows the first program must
#   be running its event loop for a start to hand over, which tests/windows/morvane-end-to-end
#   checks with two real programs.
foreach(test
        Kifuconv.ReportsSkippedAndFailedFilesAndGoesOn
        Kifuconv.KeepsTheOldOutputWhenItCannotBecomeTheBackup
        Kifuconv.ConvertsJapaneseNamesInAJapaneseFolder
        ProgramFiles.RestoresTheRowsWhoseFilesAreStillThere
        ProgramFiles.ListsNothingWithoutTheFileAndFailsOnAnUnreadableOne
        ProgramFiles.StoresFullPathsAndGivesThemBackTheSame
        ProgramFiles.AnEmptyListDeletesTheFile
        ProgramFiles.AFailedWriteLeavesTheOldFilesWhole
        ProgramFiles.ReadsTheSixValuesWithTheirDefaults
        ProgramFiles.WritesTheSixValuesInOrderAndKeepsTheRest
        ProgramFiles.TheFolderIsBesideTheProgramUnlessItIsInstalled
        MessageBox.ShowsEachKindWithItsCaptionIconAndText
        MainForm.KeepsListPositionAndSettingsFromOneRunToTheNext
        MainForm.AnUnreadableListIsReportedAndNeitherItNorTheSettingsAreLost
        MainForm.AListThatCannotBeWrittenAtTheEndLeavesTheSettingsUnwritten
        MainForm.FullRunConvertsThroughTheWindowsAndKeepsTheFailedRows
        OpenFiles.FilesAndFoldersGiveRowsInTheirOrder
        FileList.AttributeSetsPickTheirEntries
        FileList.KeepsDuplicatesAndCaseEqualNamesSideBySide
        FileList.WritesRebuildAndOnlyANewDirectoryIsAnnounced
        FileList.SeparatorRuleOfBothStyles
        ListRules.AnInstalledProgramLivesInABinFolder
        AddfileTest.ChoosingAFolderListsItsRecordsAndOkAddsTheTickedOnes
        AddfileTest.TheSameFolderChosenTwiceKeepsTheTicksAndTwoHistoryEntries
        AddfileTest.HistoryGoesToTheNextDialogAndOnlyTheBrowserAddsToIt
        AddfileTest.AFileAlreadyListedIsNotAddedAgain
        AddfileTest.PressesRightOfOneLineHeightInvertTheSelectedLine
        Instance.ASecondStartHandsItsFilesToTheProgramThatRuns)
    set_tests_properties(${test} PROPERTIES DISABLED TRUE)
endforeach()
