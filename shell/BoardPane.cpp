#include "shell/BoardPane.h"

#include "conversion/CheckText.h"
#include "shell/BoardView.h"
#include "shell/QtText.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

// A label that shows its whole text, on as many lines as the pane's width takes.
class TLineLabel : public QLabel {
public:
    explicit TLineLabel(QWidget* parent) : QLabel(parent) { setWordWrap(true); }
    void SetLine(const QString& text) { setText(text); }
};

namespace {

QString ColourText(TColour colour) {
    return colour == TColour::Black ? QStringLiteral("黒") : QStringLiteral("白");
}

// The line above the board: whether the conversion keeps the game, and where it does not.
QString CheckText(const TGameCheck& check) {
    const TGame& before = check.source.game;
    const TGame& after = check.output.game;
    switch (check.verdict) {
        case TCheckVerdict::NotConverted:
            return QStringLiteral("変換されません: ") + FromShiftJis(check.reason);
        case TCheckVerdict::Same:
            return QStringLiteral("変換後も同じ棋譜です（%1手）").arg(before.moves.size());
        case TCheckVerdict::ByDesign: {
            QString text =
                QStringLiteral("仕様で変わる点: ") +
                FromShiftJis(DesignChangesText(check.changes, before.notes, TWording::Japanese));
            if (check.difference.what != TGameDifference::TWhat::None) {
                text += QStringLiteral(" ／ 最初の違い: ") +
                        FromShiftJis(
                            DifferenceText(before, after, check.difference, TWording::Japanese));
            }
            return text;
        }
        case TCheckVerdict::Differs:
            break;
    }
    if (!check.reason.empty()) {
        return QStringLiteral("変換後の棋譜が読めません: ") + FromShiftJis(check.reason);
    }
    return QStringLiteral("変換後は違う棋譜になります: ") +
           FromShiftJis(DifferenceText(before, after, check.difference, TWording::Japanese));
}

QToolButton* NewButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon,
                       const QString& tip) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(tip);
    button->setAutoRaise(true);
    return button;
}

}  // namespace

TBoardPane::TBoardPane(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(4);

    auto* top = new QHBoxLayout;
    m_before = new QToolButton(this);
    m_before->setObjectName(QStringLiteral("BeforeBtn"));
    m_before->setText(QStringLiteral("変換前"));
    m_before->setToolTip(QStringLiteral("この棋譜の手順"));
    m_after = new QToolButton(this);
    m_after->setObjectName(QStringLiteral("AfterBtn"));
    m_after->setText(QStringLiteral("変換後"));
    m_after->setToolTip(QStringLiteral("今の設定で変換した棋譜の手順（ファイルは書きません）"));
    auto* sides = new QButtonGroup(this);
    for (QToolButton* button : {m_before, m_after}) {
        button->setCheckable(true);
        // The side shown stands out in the highlight's colours, the other one is a plain button.
        button->setStyleSheet(QStringLiteral(
            "QToolButton { padding: 2px 10px; border: 1px solid palette(mid);"
            " border-radius: 3px; background-color: palette(button); }"
            "QToolButton:checked { color: palette(highlighted-text);"
            " background-color: palette(highlight); border-color: palette(highlight); }"));
        sides->addButton(button);
        top->addWidget(button);
    }
    m_before->setChecked(true);
    top->addStretch();
    auto* hide = new QToolButton(this);
    hide->setObjectName(QStringLiteral("HideBoardBtn"));
    hide->setText(QStringLiteral("×"));
    hide->setAutoRaise(true);
    hide->setToolTip(QStringLiteral("盤面を隠す（本文の右クリックか Ctrl+B でまた表示します）"));
    top->addWidget(hide);
    layout->addLayout(top);

    m_difference = new TLineLabel(this);
    m_difference->setObjectName(QStringLiteral("DiffLabel"));
    m_difference->setTextFormat(Qt::PlainText);
    // Whole, on a second line when it needs one.
    m_difference->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Minimum);
    layout->addWidget(m_difference);

    m_view = new TBoardView(this);
    m_view->setObjectName(QStringLiteral("BoardView"));
    layout->addWidget(m_view, 1);
    m_reason = new QLabel(this);
    m_reason->setObjectName(QStringLiteral("ReasonLabel"));
    m_reason->setTextFormat(Qt::PlainText);
    m_reason->setWordWrap(true);
    m_reason->hide();
    layout->addWidget(m_reason);
    m_readGame = new QPushButton(QStringLiteral("盤面を読む"), this);
    m_readGame->setObjectName(QStringLiteral("ReadGameBtn"));
    m_readGame->hide();
    layout->addWidget(m_readGame, 0, Qt::AlignLeft);

    auto* texts = new QHBoxLayout;
    m_moveText = new QLabel(this);
    m_moveText->setObjectName(QStringLiteral("MoveLabel"));
    m_moveText->setTextFormat(Qt::PlainText);
    m_captures = new QLabel(this);
    m_captures->setObjectName(QStringLiteral("CaptureLabel"));
    m_captures->setTextFormat(Qt::PlainText);
    m_branch = new QToolButton(this);
    m_branch->setObjectName(QStringLiteral("BranchBtn"));
    m_branch->setAutoRaise(true);
    m_branch->setToolTip(
        QStringLiteral("この手には変化があります: ↑ ↓ かこのボタンで切り替えます"));
    m_branch->hide();
    texts->addWidget(m_moveText);
    texts->addWidget(m_branch);
    texts->addStretch(1);
    texts->addWidget(m_captures);
    layout->addLayout(texts);

    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("MoveSlider"));
    m_slider->setPageStep(10);
    layout->addWidget(m_slider);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    m_first =
        NewButton(this, "FirstBtn", QStyle::SP_MediaSkipBackward, QStringLiteral("最初 (Home)"));
    m_previous =
        NewButton(this, "PrevBtn", QStyle::SP_MediaSeekBackward, QStringLiteral("前の手 (←)"));
    m_next = NewButton(this, "NextBtn", QStyle::SP_MediaSeekForward, QStringLiteral("次の手 (→)"));
    m_last = NewButton(this, "LastBtn", QStyle::SP_MediaSkipForward, QStringLiteral("最後 (End)"));
    for (QToolButton* button : {m_first, m_previous, m_next, m_last}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    layout->addLayout(buttons);

    connect(m_slider, &QSlider::valueChanged, this,
            [this](int value) { GoTo(static_cast<std::size_t>(value)); });
    connect(m_first, &QToolButton::clicked, this, [this] { GoTo(0); });
    connect(m_previous, &QToolButton::clicked, this, [this] { GoTo(m_move > 0 ? m_move - 1 : 0); });
    connect(m_next, &QToolButton::clicked, this, [this] { GoTo(m_move + 1); });
    connect(m_last, &QToolButton::clicked, this, [this] { GoTo(SIZE_MAX); });
    connect(m_branch, &QToolButton::clicked, this, [this] {
        // Round all the alternatives: after the last, the first again.
        if (!SwitchVariation(1)) {
            SwitchVariation(-static_cast<int>(m_line.BranchAt(m_move).index));
        }
    });
    connect(m_before, &QToolButton::clicked, this, [this] { ShowSide(false); });
    connect(m_after, &QToolButton::clicked, this, [this] {
        if (OnConvertedAsked) {
            OnConvertedAsked();
        }
        ShowSide(true);
    });
    connect(m_readGame, &QPushButton::clicked, this, [this] {
        if (OnGameAsked) {
            OnGameAsked();
        }
    });
    connect(hide, &QToolButton::clicked, this, [this] {
        if (OnHideAsked) {
            OnHideAsked();
        }
    });
    m_view->OnWheelStep = [this](int step) {
        GoTo(step < 0 ? (m_move > 0 ? m_move - 1 : 0) : m_move + 1);
    };
    ShowNothing({});
}

TBoardPane::~TBoardPane() = default;

void TBoardPane::ShowCheck(TGameCheck check) {
    m_check = std::move(check);
    m_line = {};
    m_readGame->hide();
    m_replays[0].reset();
    m_replays[1].reset();
    m_converted = false;
    m_before->setChecked(true);
    m_move = SIZE_MAX;
    Refresh();
}

void TBoardPane::UpdateCheck(TGameCheck check) {
    m_check = std::move(check);
    m_line = {};
    m_replays[0].reset();
    m_replays[1].reset();
    Refresh();
}

void TBoardPane::ShowNothing(const QString& reason) {
    m_check.reset();
    m_line = {};
    m_replays[0].reset();
    m_replays[1].reset();
    m_converted = false;
    m_before->setChecked(true);
    m_move = 0;
    m_difference->SetLine({});
    m_reason->setText(reason);
    m_reason->setVisible(!reason.isEmpty());
    m_readGame->hide();
    Refresh();
}

void TBoardPane::ShowDeferred(const QString& reason) {
    ShowNothing(reason);
    m_readGame->show();
}

void TBoardPane::ShowSide(bool converted) {
    if (converted != m_converted) {
        m_converted = converted;
        Refresh();
    }
}

const TGameRecord& TBoardPane::Shown() const {
    return m_converted ? m_check->output : m_check->source;
}

const TGame& TBoardPane::ShownGame() const {
    return m_converted ? m_check->output.game : m_line.Game();
}

void TBoardPane::ReplayLine() {
    m_replays[0] = std::make_unique<TReplay>(m_line.Game());
    const QSignalBlocker blocker(m_slider);
    m_slider->setRange(0, static_cast<int>(m_replays[0]->MoveCount()));
}

bool TBoardPane::SwitchVariation(int step) {
    if (!m_check || m_converted || !m_replays[0] || !m_line.Switch(m_move, step)) {
        return false;
    }
    ReplayLine();
    const std::size_t move = m_move;
    m_move = SIZE_MAX - 1;  // so that GoTo shows the position even when the move stays
    GoTo(move);
    return true;
}

void TBoardPane::ClearBoard() {
    m_view->Clear();
    m_moveText->clear();
    m_branch->hide();
    m_captures->clear();
    for (QWidget* widget :
         std::initializer_list<QWidget*>{m_slider, m_first, m_previous, m_next, m_last}) {
        widget->setEnabled(false);
    }
}

void TBoardPane::Refresh() {
    m_before->setEnabled(m_check.has_value());
    // Always there: the settings may have changed since the check, and a new one is made.
    m_after->setEnabled(m_check.has_value());
    if (!m_check) {
        ClearBoard();
        return;
    }
    m_difference->SetLine(CheckText(*m_check));
    // Green when the conversion keeps the game, amber when it changes it as designed, red else.
    const TCheckVerdict verdict = m_check->verdict;
    m_difference->setStyleSheet(verdict == TCheckVerdict::Same       ? "color: #1f6a2a;"
                                : verdict == TCheckVerdict::ByDesign ? "color: #8a5a00;"
                                                                     : "color: #c01818;");
    const TGameRecord& record = Shown();
    QString reason;
    if (m_converted && m_check->verdict == TCheckVerdict::NotConverted) {
        reason = QStringLiteral("変換されません: ") + FromShiftJis(m_check->reason);
    } else if (!record.ok) {
        reason = QStringLiteral("盤面を表示できません: ") + FromShiftJis(record.reason);
    } else if (record.game.boardSize == 0) {
        reason = QStringLiteral("盤の大きさ「%1」は表示できません（2 路から %2 路まで）")
                     .arg(FromShiftJis(record.game.size))
                     .arg(LARGEST_BOARD);
    }
    m_reason->setText(reason);
    m_reason->setVisible(!reason.isEmpty());
    if (!reason.isEmpty()) {
        ClearBoard();
        return;
    }
    std::unique_ptr<TReplay>& replay = m_replays[m_converted ? 1 : 0];
    if (!replay) {
        if (m_converted) {
            replay = std::make_unique<TReplay>(record.game);
        } else {
            m_line = TGameLine(record);
            replay = std::make_unique<TReplay>(m_line.Game());
        }
    }
    m_slider->setEnabled(true);
    {
        const QSignalBlocker blocker(m_slider);
        m_slider->setRange(0, static_cast<int>(replay->MoveCount()));
    }
    const std::size_t move = m_move;
    m_move = SIZE_MAX - 1;  // so that GoTo shows the position even when the move stays
    GoTo(move);
}

void TBoardPane::GoTo(std::size_t move) {
    if (!m_check) {
        return;
    }
    std::unique_ptr<TReplay>& replay = m_replays[m_converted ? 1 : 0];
    if (!replay) {
        return;
    }
    move = std::min(move, replay->MoveCount());
    if (move == m_move) {
        return;
    }
    m_move = move;
    const TGame& game = ShownGame();
    const TPosition& position = replay->Position(move);
    std::optional<TGameMove> last;
    if (move > 0) {
        last = game.moves[move - 1];
    }
    m_view->SetPosition(position, last);

    if (!last) {
        m_moveText->setText(QStringLiteral("初期局面"));
    } else {
        QString text = QStringLiteral("%1手 %2 %3")
                           .arg(move)
                           .arg(ColourText(last->colour),
                                FromShiftJis(PointText(game, last->point, TWording::Japanese)));
        if (position.last.lost > 0) {
            text += QStringLiteral("（自殺手）");
        } else if (position.last.occupied) {
            text += QStringLiteral("（石のある点）");
        }
        m_moveText->setText(text);
    }
    // A move that is no point of the board, or breaks a rule, stands out.
    const bool odd = last && (last->point.kind == TPointKind::Off || position.last.lost > 0 ||
                              position.last.occupied);
    m_moveText->setStyleSheet(odd ? QStringLiteral("color: #c01818;") : QString());
    m_captures->setText(
        QStringLiteral("アゲハマ 黒 %1  白 %2").arg(position.blackTook).arg(position.whiteTook));
    const TGameLine::TBranch branch = m_converted ? TGameLine::TBranch{} : m_line.BranchAt(move);
    m_branch->setText(QStringLiteral("分岐 %1（%2 番目）").arg(branch.count).arg(branch.index + 1));
    m_branch->setVisible(branch.count > 1);

    {
        const QSignalBlocker blocker(m_slider);
        m_slider->setValue(static_cast<int>(move));
    }
    m_first->setEnabled(move > 0);
    m_previous->setEnabled(move > 0);
    m_next->setEnabled(move < replay->MoveCount());
    m_last->setEnabled(move < replay->MoveCount());
}

void TBoardPane::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
            GoTo(m_move > 0 ? m_move - 1 : 0);
            break;
        case Qt::Key_Right:
            GoTo(m_move + 1);
            break;
        case Qt::Key_Home:
            GoTo(0);
            break;
        case Qt::Key_End:
            GoTo(SIZE_MAX);
            break;
        case Qt::Key_Up:
            SwitchVariation(-1);
            break;
        case Qt::Key_Down:
            SwitchVariation(1);
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}
