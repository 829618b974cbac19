#pragma once

#include <QWidget>

#include <memory>
#include <string>

namespace Ui {
class TViewForm;
}

// Shows one file of the candidate list.
class TFileViewer {
public:
    virtual ~TFileViewer() = default;
    // Shows the file at path (as the file system spells it): its text in code page 932, an SGF
    // record in the encoding its CA property names or its bytes show. Throws TFileError (Open) when
    // it cannot be read, and TUserError when it is too large to show; the viewer then shows the new
    // caption and an empty text.
    virtual void ViewFile(const std::string& path) = 0;
};

// The viewer window: one for the whole run of the program, showing the raw text of a record,
// read-only. Closing it hides it.
class TViewForm : public QWidget, public TFileViewer {
public:
    TViewForm();
    ~TViewForm() override;

    void ViewFile(const std::string& path) override;

    // The largest file shown, in bytes.
    static constexpr std::size_t MAX_BYTES = std::size_t{256} << 20;

private:
    std::unique_ptr<Ui::TViewForm> m_ui;
};
