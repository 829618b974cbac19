#pragma once

#include <QProgressBar>

// A progress bar that keeps the range and position it was given and shows the position clamped
// to the range: a position past the maximum shows a full bar. A maximum below the minimum (or a
// minimum above the maximum) is refused with TUserError "プロパティ TProgressBar の範囲を超えて
// います", leaving the range as it was. An empty range (maximum equal to minimum) shows an empty
// bar, or a full one once the position reaches the maximum, never Qt's busy animation.
class TProgressBar : public QProgressBar {
    Q_OBJECT

public:
    explicit TProgressBar(QWidget* parent = nullptr);

    int Min() const { return m_min; }
    int Max() const { return m_max; }
    int Position() const { return m_position; }
    void SetMin(int value);
    void SetMax(int value);
    void SetPosition(int value);

private:
    void SetRange(int min, int max);
    void Show();

    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
};
