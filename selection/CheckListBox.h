#pragma once

#include <QListView>

#include <memory>
#include <string>
#include <vector>

class TCheckListModel;

// A list of lines with a tick box each, one line selected at most. Lines are file-system bytes,
// kept as they are and shown decoded with the platform's file-name encoding; the model holds them
// in one vector, so a folder of a hundred thousand records fills, ticks and scrolls at once.
class TCheckListBox : public QListView {
    Q_OBJECT

public:
    explicit TCheckListBox(QWidget* parent = nullptr);
    ~TCheckListBox() override;

    int Count() const;
    // Replaces every line, all unticked and none selected, in one update.
    void SetLines(std::vector<std::string> lines);
    const std::string& Line(int row) const;
    bool Checked(int row) const;
    void SetChecked(int row, bool checked);
    // Ticks or unticks every line in one update.
    void SetAllChecked(bool checked);
    // The selected line, or -1.
    int ItemIndex() const;
    // The height of every line, pixels.
    int ItemHeight() const;
    void SetItemHeight(int height);

signals:
    // After the list has handled a press of any button, a double click's second press included:
    // where it was, in the list's viewport, and whether on the tick box of a line.
    void MouseDown(Qt::MouseButton button, QPoint position, bool onTickBox);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    bool OnTickBox(QPoint position) const;

    std::unique_ptr<TCheckListModel> m_model;
};
