#pragma once

#include "conversion/ConversionState.h"
#include "conversion/Services.h"

#include <string>

// The converters of the conversion library, on the shared state, reaching the disk through files
// and the progress window through progress.
class TRecordConverters : public TConverterService {
public:
    TRecordConverters(TConversionState& state, TProgressService& progress, TFileService& files);
    [[nodiscard]] bool ConvertUgfToSgf(const std::string& path) override;
    [[nodiscard]] bool ConvertSgfToUgf(const std::string& path) override;

private:
    TConversionState& m_state;
    TProgressService& m_progress;
    TFileService& m_files;
};
