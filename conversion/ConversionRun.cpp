#include "conversion/ConversionRun.h"

#include "conversion/Paths.h"
#include "conversion/Text.h"
#include "conversion/Texts.h"

#include <algorithm>
#include <exception>
#include <vector>

TRecordKind RecordKindOf(std::string_view path, TPathStyle style) {
    const std::string extension = ExtractFileExt(path, style);
    for (const TRecordExtension& record : RECORD_EXTENSIONS) {
        if (SameTextIgnoringCase(extension, record.extension)) {
            return record.kind;
        }
    }
    return TRecordKind::Other;
}

std::vector<std::string> RecordMasks(TRecordKind kind) {
    std::vector<std::string> masks;
    for (const TRecordExtension& record : RECORD_EXTENSIONS) {
        if (kind == TRecordKind::Other || kind == record.kind) {
            // Appended rather than "*" + ...: GCC 12 at -O2 warns falsely (-Wrestrict) on that.
            masks.emplace_back(1, '*').append(record.extension);
        }
    }
    return masks;
}

std::optional<int> RowAfterDeletion(int deleted, int rowsLeft) {
    if (rowsLeft <= 0) {
        return std::nullopt;
    }
    return std::min(deleted, rowsLeft - 1);
}

std::string LeftOutText(const TSgfNotes& notes) {
    std::string text;
    if (notes.variations > 0) {
        text += texts::VARIATIONS_LEFT_OUT_BEFORE +
                IntToText(static_cast<long long>(notes.variations)) +
                texts::VARIATIONS_LEFT_OUT_AFTER;
    }
    if (notes.games > 0) {
        text += texts::GAMES_LEFT_OUT_BEFORE + IntToText(static_cast<long long>(notes.games)) +
                texts::GAMES_LEFT_OUT_AFTER;
    }
    return text;
}

TRowOutcome ConvertRow(const std::string& path, TRecordKind kind, TConversionState& state,
                       TConverterService& converters) {
    TRowOutcome outcome;
    state.ProgressCount = 0;
    try {
        outcome.converted = kind == TRecordKind::Sgf ? converters.ConvertSgfToUgf(path)
                                                     : converters.ConvertUgfToSgf(path);
    } catch (const TUserError& error) {
        outcome.error = error.text;
    } catch (const std::exception& error) {
        // A record too large for memory ends this file only; the run goes on and reports it.
        outcome.error = error.what();
    }
    if (!outcome.converted) {
        outcome.reason = outcome.error.Empty() ? TUserText(state.FailureReason) : outcome.error;
    }
    return outcome;
}

TConversionRun::TConversionRun(TConversionState& state, TCandidateService& candidates,
                               TProgressService& progress, TMessageService& messages,
                               TConverterService& converters)
    : m_state(state),
      m_candidates(candidates),
      m_progress(progress),
      m_messages(messages),
      m_converters(converters) {}

void TConversionRun::SelConvBtnClick() {
    const std::optional<int> selected = m_candidates.SelectedRow();
    if (m_candidates.RowCount() == 0 || !selected) {
        m_candidates.UpdateButtons();
        return;
    }
    const int row = *selected;
    const std::string path = m_candidates.FullPath(row);
    const TRecordKind kind = RecordKindOf(path);
    if (kind == TRecordKind::Other) {
        m_candidates.UpdateButtons();
        return;
    }
    m_state.RunFiles.Clear();
    m_progress.SetBar(TBar::ProgressBar2, TBarField::Min, 0);
    m_progress.SetBar(TBar::ProgressBar2, TBarField::Max, 1);
    m_progress.SetBar(TBar::ProgressBar2, TBarField::Position, 0);
    m_progress.Show();
    ShowCaptionFor(path);
    const TRowOutcome outcome = ConvertRow(path, kind, m_state, m_converters);
    if (outcome.converted) {
        m_progress.SetBar(TBar::ProgressBar2, TBarField::Position,
                          m_progress.GetBar(TBar::ProgressBar2, TBarField::Max));
        m_candidates.RowConverted(row);
        if (!m_endRequested) {
            TUserText message(texts::CONVERTED);
            if (kind == TRecordKind::Sgf) {
                if (const std::string leftOut = LeftOutText(m_state.SgfNotes); !leftOut.empty()) {
                    message.Text("\n").Text(leftOut);
                }
            }
            m_messages.Info(message);
        }
        m_progress.Close();
        m_candidates.DeleteRow(row);
        if (const std::optional<int> next = RowAfterDeletion(row, m_candidates.RowCount())) {
            m_candidates.Focus();
            m_candidates.SelectRow(*next);
        }
    } else {
        m_progress.SetBar(TBar::ProgressBar1, TBarField::Position,
                          m_progress.GetBar(TBar::ProgressBar1, TBarField::Max));
        TUserText message(texts::FAILED);
        if (!outcome.reason.Empty()) {
            message.Text("\n").Append(outcome.reason);
        }
        if (!m_endRequested) {
            m_messages.Error(message);
        }
        m_progress.Close();
        m_candidates.SetReason(row, outcome.reason);
        m_candidates.Focus();
        m_candidates.SelectRow(row);
    }
    RefreshListState();
}

void TConversionRun::ConvBtnClick() {
    const int rows = m_candidates.RowCount();
    if (rows == 0) {
        return;
    }
    m_progress.SetBar(TBar::ProgressBar2, TBarField::Min, 0);
    m_progress.SetBar(TBar::ProgressBar2, TBarField::Max, rows);
    m_progress.SetBar(TBar::ProgressBar2, TBarField::Position, 0);
    m_progress.Show();
    m_state.RunFiles.Clear();
    std::vector<std::pair<std::string, TUserText>> failures;
    int row = 0;
    for (; row < rows && !m_endRequested; ++row) {
        const std::string path = m_candidates.FullPath(row);
        ShowCaptionFor(path);
        const TRecordKind kind = RecordKindOf(path);
        if (kind == TRecordKind::Other) {
            m_state.ProgressCount = 0;
            continue;
        }
        const TRowOutcome outcome = ConvertRow(path, kind, m_state, m_converters);
        if (outcome.converted) {
            m_candidates.RowConverted(row);
        } else {
            failures.emplace_back(path, outcome.reason);
            if (!outcome.error.Empty()) {
                m_state.TempMemo.push_back(outcome.error);
            }
        }
        m_progress.SetBar(TBar::ProgressBar2, TBarField::Position,
                          m_progress.GetBar(TBar::ProgressBar2, TBarField::Position) + 1);
    }
    // Asked to end, the run leaves the rows it did not reach after those that failed, as they
    // stood, and nobody is there to answer a message.
    std::vector<std::string> notReached;
    for (; row < rows; ++row) {
        notReached.push_back(m_candidates.FullPath(row));
    }
    if (!m_endRequested) {
        m_progress.SetBar(TBar::ProgressBar2, TBarField::Position,
                          m_progress.GetBar(TBar::ProgressBar2, TBarField::Max));
        m_messages.Info(texts::ALL_CONVERTED);
    }
    m_progress.Close();
    m_candidates.Clear();
    for (const auto& [path, reason] : failures) {
        m_candidates.AppendRow(ExtractFileName(path), ExtractFileDir(path));
        m_candidates.SetReason(m_candidates.RowCount() - 1, reason);
    }
    for (const std::string& path : notReached) {
        m_candidates.AppendRow(ExtractFileName(path), ExtractFileDir(path));
    }
    RefreshListState();
}

void TConversionRun::ShowCaptionFor(const std::string& path) {
    m_progress.SetCaption(TUserText(texts::PROGRESS_CAPTION).Name(ExtractFileName(path)));
}

void TConversionRun::RefreshListState() {
    m_candidates.UpdateStatusLine();
    m_candidates.UpdateButtons();
}
