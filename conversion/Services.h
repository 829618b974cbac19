#pragma once

#include "conversion/FileOps.h"
#include "conversion/LineList.h"
#include "conversion/UserText.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// What the conversion code asks of the windows and the disk. The windows implement these, the
// command-line tool brings console versions, and tests bring recording fakes. Texts are Shift-JIS
// bytes; a text that names a file keeps the name apart (TUserText).

// The two bars of the progress window: the current file and the whole run.
enum class TBar { ProgressBar1, ProgressBar2 };
enum class TBarField { Min, Max, Position };

// The progress window: its bars, its caption and the timer Timer1, which, while on, copies
// ProgressCount into ProgressBar1's position on its ticks.
class TProgressService {
public:
    virtual ~TProgressService() = default;
    // Shows the window, not modal.
    virtual void Show() = 0;
    // Closes the window; it stays for the next run.
    virtual void Close() = 0;
    virtual void SetCaption(const TUserText& caption) = 0;
    virtual void SetBar(TBar bar, TBarField field, int value) = 0;
    virtual int GetBar(TBar bar, TBarField field) const = 0;
    virtual void SetTimer(bool enabled) = 0;
};

// The candidate list of the main window. Rows count from 0; a row is a file name (its caption)
// and a directory (its first sub-item).
class TCandidateService {
public:
    virtual ~TCandidateService() = default;
    virtual int RowCount() const = 0;
    // The selected row, or none.
    virtual std::optional<int> SelectedRow() const = 0;
    virtual std::string Caption(int row) const = 0;
    virtual std::string SubItem(int row) const = 0;
    // Deletes row; later rows move up by one.
    virtual void DeleteRow(int row) = 0;
    virtual void Clear() = 0;
    // A new last row, with no reason.
    virtual void AppendRow(std::string_view name, std::string_view directory) = 0;
    // Why row could not be converted, for the user to see on the row (empty: none).
    virtual void SetReason(int row, const TUserText& reason) = 0;
    virtual void SelectRow(int row) = 0;
    // Gives the list the keyboard focus.
    virtual void Focus() = 0;
    // Enables the four list buttons when there are rows, disables them when there are none.
    virtual void UpdateButtons() = 0;
    // Shows the row count in the status line.
    virtual void UpdateStatusLine() = 0;
    // The file of row has been converted by the full run under way; the row stays in the list
    // until the run ends, and what the list keeps on disk meanwhile goes without it.
    virtual void RowConverted(int /*row*/) {}

    // JoinPath(SubItem(row), Caption(row)).
    std::string FullPath(int row) const;
};

// The two modal message boxes, each with one button "OK"; they return when dismissed.
class TMessageService {
public:
    virtual ~TMessageService() = default;
    // Caption "情報", information icon.
    virtual void Info(const TUserText& text) = 0;
    // Caption "エラー", error icon.
    virtual void Error(const TUserText& text) = 0;
};

// The files the converters read and write.
class TFileService {
public:
    virtual ~TFileService() = default;
    // True only for an existing file, not a directory.
    virtual bool Exists(const std::string& path) = 0;
    // True only for an existing directory.
    virtual bool FolderExists(const std::string& path) = 0;
    // True when a file, or a link that reaches no folder (or nothing), holds the name path (see
    // FileOrLinkExists): a name that is not free for a new file.
    virtual bool Taken(const std::string& path) { return Exists(path); }
    // Which file path reaches (see FileIdentity); nothing when it names no file.
    virtual std::optional<TFileId> Identity(const std::string& path) = 0;
    // False when the file could not be deleted.
    virtual bool Delete(const std::string& path) = 0;
    // False when the file could not be renamed; never replaces a file at to.
    virtual bool Rename(const std::string& from, const std::string& to) = 0;
    // Renames from to to in one step, replacing a file at to; false when it could not.
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
    // The whole file. Throws TFileError (Open).
    virtual std::string Load(const std::string& path) = 0;
    // The whole file and its identity (see Identity). Throws TFileError (Open).
    virtual std::string LoadIdentified(const std::string& path, std::optional<TFileId>& identity) {
        identity = Identity(path);
        return Load(path);
    }
    // Writes the bytes of content to a new temporary file beside path, as far as durability asks
    // (see TDurability), and answers its name; path itself is not touched. Throws TFileError
    // (Create) naming path.
    virtual std::string SaveTemporary(const std::string& path, const TWritable& content,
                                      TDurability durability) = 0;
    // The same for the bytes of pieces, one after the other, or for bytes in one piece.
    std::string SaveTemporary(const std::string& path, std::span<const std::string_view> pieces,
                              TDurability durability) {
        return SaveTemporary(path, TSpanWritable(pieces), durability);
    }
    std::string SaveTemporary(const std::string& path, std::string_view bytes,
                              TDurability durability) {
        return SaveTemporary(path, std::span<const std::string_view>(&bytes, 1), durability);
    }
    // Writes the bytes of content to a new file at path, whole or not at all, and answers its
    // identity (see Identity); false, with nothing written, when a file took path meanwhile. Never
    // replaces a file. Throws TFileError (Create) naming path.
    virtual bool SaveNew(const std::string& path, const TWritable& content,
                         std::optional<TFileId>& identity) {
        const std::string temporary = SaveTemporary(path, content, TDurability::Plain);
        if (!Rename(temporary, path)) {
            (void)Delete(temporary);
            return false;
        }
        identity = Identity(path);
        return true;
    }
    bool SaveNew(const std::string& path, std::span<const std::string_view> pieces,
                 std::optional<TFileId>& identity) {
        return SaveNew(path, TSpanWritable(pieces), identity);
    }
};

// The two converters, each taking the full path of one record file and answering true exactly
// when the output file was written. Either may throw (TFileError and others).
class TConverterService {
public:
    virtual ~TConverterService() = default;
    [[nodiscard]] virtual bool ConvertUgfToSgf(const std::string& path) = 0;
    [[nodiscard]] virtual bool ConvertSgfToUgf(const std::string& path) = 0;
};

// TFileService on the real disk.
class TDiskFileService : public TFileService {
public:
    bool Exists(const std::string& path) override;
    bool FolderExists(const std::string& path) override;
    bool Taken(const std::string& path) override;
    std::optional<TFileId> Identity(const std::string& path) override;
    bool Delete(const std::string& path) override;
    bool Rename(const std::string& from, const std::string& to) override;
    bool Replace(const std::string& from, const std::string& to) override;
    std::string Load(const std::string& path) override;
    std::string LoadIdentified(const std::string& path, std::optional<TFileId>& identity) override;
    using TFileService::SaveNew;
    using TFileService::SaveTemporary;
    std::string SaveTemporary(const std::string& path, const TWritable& content,
                              TDurability durability) override;
    bool SaveNew(const std::string& path, const TWritable& content,
                 std::optional<TFileId>& identity) override;
};

// A progress window that nobody sees: remembers the bars, shows nothing.
class TSilentProgress : public TProgressService {
public:
    void Show() override {}
    void Close() override {}
    void SetCaption(const TUserText&) override {}
    void SetBar(TBar bar, TBarField field, int value) override;
    int GetBar(TBar bar, TBarField field) const override;
    void SetTimer(bool) override {}

private:
    int m_values[2][3] = {};
};
