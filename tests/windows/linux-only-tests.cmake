# Read by CTest in the Windows build, after the tests are listed. These tests write Linux's terms into
# their expected text: UTF-8 for the terminal and UTF-8 file names. On Windows the program rightly
# gives code page 932 text and names, so they are shown as disabled there; tests/windows checks the
# same on Windows' terms.
foreach(test
        Kifuconv.ReportsSkippedAndFailedFilesAndGoesOn
        Kifuconv.KeepsTheOldOutputWhenItCannotBecomeTheBackup
        Kifuconv.ConvertsJapaneseNamesInAJapaneseFolder)
    set_tests_properties(${test} PROPERTIES DISABLED TRUE)  # a name not found is passed over
endforeach()
# The corpus lies beside the Linux tree; under Wine its thousands of conversions would only repeat
# the Linux run.
set_tests_properties(KifuconvCheck.EveryCorpusRecordKeepsItsGameOrChangesOnlyByDesign
    PROPERTIES DISABLED TRUE)
