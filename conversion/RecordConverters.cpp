#include "conversion/RecordConverters.h"

#include "conversion/SgfToUgf.h"
#include "conversion/UgfToSgf.h"

TRecordConverters::TRecordConverters(TConversionState& state, TProgressService& progress,
                                     TFileService& files)
    : m_state(state), m_progress(progress), m_files(files) {}

bool TRecordConverters::ConvertUgfToSgf(const std::string& path) {
    return ::ConvertUgfToSgf(path, m_state, m_progress, m_files);
}

bool TRecordConverters::ConvertSgfToUgf(const std::string& path) {
    return ::ConvertSgfToUgf(path, m_state, m_progress, m_files);
}
