#include "shell/BoardPane.h"

#include "ui_BoardPane.h"

#include "conversion/CheckText.h"
#include "shell/BoardView.h"
#include "shell/QtText.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

#include <utility>

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

}  // namespace

TBoardPane::TBoardPane(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::TBoardPane>()) {
    m_ui->setupUi(this);
    const std::pair<QToolButton*, QStyle::StandardPixmap> steps[] = {
        {m_ui->FirstBtn, QStyle::SP_MediaSkipBackward},
        {m_ui->PrevBtn, QStyle::SP_MediaSeekBackward},
        {m_ui->NextBtn, QStyle::SP_MediaSeekForward},
        {m_ui->LastBtn, QStyle::SP_MediaSkipForward}};
    for (const auto& [button, icon] : steps) {
        button->setIcon(style()->standardIcon(icon));
    }

    connect(m_ui->MoveSlider, &QSlider::valueChanged, this,
            [this](int value) { GoTo(static_cast<std::size_t>(value)); });
    connect(m_ui->FirstBtn, &QToolButton::clicked, this, [this] { GoTo(0); });
    connect(m_ui->PrevBtn, &QToolButton::clicked, this,
            [this] { GoTo(m_move > 0 ? m_move - 1 : 0); });
    connect(m_ui->NextBtn, &QToolButton::clicked, this, [this] { GoTo(m_move + 1); });
    connect(m_ui->LastBtn, &QToolButton::clicked, this, [this] { GoTo(SIZE_MAX); });
    connect(m_ui->BranchBtn, &QToolButton::clicked, this, [this] {
        // Round all the alternatives: after the last, the first again.
        if (!SwitchVariation(1)) {
            SwitchVariation(-static_cast<int>(m_line.BranchAt(m_move).index));
        }
    });
    connect(m_ui->BeforeBtn, &QToolButton::clicked, this, [this] { ShowSide(false); });
    connect(m_ui->AfterBtn, &QToolButton::clicked, this, [this] {
        if (OnConvertedAsked) {
            OnConvertedAsked();
        }
        ShowSide(true);
    });
    connect(m_ui->ReadGameBtn, &QPushButton::clicked, this, [this] {
        if (OnGameAsked) {
            OnGameAsked();
        }
    });
    connect(m_ui->HideBoardBtn, &QToolButton::clicked, this, [this] {
        if (OnHideAsked) {
            OnHideAsked();
        }
    });
    m_ui->BoardView->OnWheelStep = [this](int step) {
        GoTo(step < 0 ? (m_move > 0 ? m_move - 1 : 0) : m_move + 1);
    };
    ShowNothing({});
}

TBoardPane::~TBoardPane() = default;

void TBoardPane::ShowCheck(TGameCheck check) {
    m_check = std::move(check);
    m_line = {};
    m_ui->ReadGameBtn->hide();
    m_replays[0].reset();
    m_replays[1].reset();
    m_converted = false;
    m_ui->BeforeBtn->setChecked(true);
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
    m_ui->BeforeBtn->setChecked(true);
    m_move = 0;
    m_ui->DiffLabel->setText({});
    m_ui->ReasonLabel->setText(reason);
    m_ui->ReasonLabel->setVisible(!reason.isEmpty());
    m_ui->ReadGameBtn->hide();
    Refresh();
}

void TBoardPane::ShowDeferred(const QString& reason) {
    ShowNothing(reason);
    m_ui->ReadGameBtn->show();
}

void TBoardPane::SetLook(QWidget& widget, const char* property, const char* value) {
    if (widget.property(property).toString() != QLatin1String(value)) {
        widget.setProperty(property, QLatin1String(value));
        widget.style()->unpolish(&widget);
        widget.style()->polish(&widget);
    }
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
    const QSignalBlocker blocker(m_ui->MoveSlider);
    m_ui->MoveSlider->setRange(0, static_cast<int>(m_replays[0]->MoveCount()));
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
    m_ui->BoardView->Clear();
    m_ui->MoveLabel->clear();
    m_ui->BranchBtn->hide();
    m_ui->CaptureLabel->clear();
    for (QWidget* widget : std::initializer_list<QWidget*>{
             m_ui->MoveSlider, m_ui->FirstBtn, m_ui->PrevBtn, m_ui->NextBtn, m_ui->LastBtn}) {
        widget->setEnabled(false);
    }
}

void TBoardPane::Refresh() {
    m_ui->BeforeBtn->setEnabled(m_check.has_value());
    // Always there: the settings may have changed since the check, and a new one is made.
    m_ui->AfterBtn->setEnabled(m_check.has_value());
    if (!m_check) {
        ClearBoard();
        return;
    }
    m_ui->DiffLabel->setText(CheckText(*m_check));
    const TCheckVerdict verdict = m_check->verdict;
    SetLook(*m_ui->DiffLabel, "verdict",
            verdict == TCheckVerdict::Same       ? "same"
            : verdict == TCheckVerdict::ByDesign ? "design"
                                                 : "differs");
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
    m_ui->ReasonLabel->setText(reason);
    m_ui->ReasonLabel->setVisible(!reason.isEmpty());
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
    m_ui->MoveSlider->setEnabled(true);
    {
        const QSignalBlocker blocker(m_ui->MoveSlider);
        m_ui->MoveSlider->setRange(0, static_cast<int>(replay->MoveCount()));
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
    m_ui->BoardView->SetPosition(position, last);

    if (!last) {
        m_ui->MoveLabel->setText(QStringLiteral("初期局面"));
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
        m_ui->MoveLabel->setText(text);
    }
    // A move that is no point of the board, or breaks a rule, stands out.
    const bool odd = last && (last->point.kind == TPointKind::Off || position.last.lost > 0 ||
                              position.last.occupied);
    SetLook(*m_ui->MoveLabel, "odd", odd ? "true" : "false");
    m_ui->CaptureLabel->setText(
        QStringLiteral("アゲハマ 黒 %1  白 %2").arg(position.blackTook).arg(position.whiteTook));
    const TGameLine::TBranch branch = m_converted ? TGameLine::TBranch{} : m_line.BranchAt(move);
    m_ui->BranchBtn->setText(
        QStringLiteral("分岐 %1（%2 番目）").arg(branch.count).arg(branch.index + 1));
    m_ui->BranchBtn->setVisible(branch.count > 1);

    {
        const QSignalBlocker blocker(m_ui->MoveSlider);
        m_ui->MoveSlider->setValue(static_cast<int>(move));
    }
    m_ui->FirstBtn->setEnabled(move > 0);
    m_ui->PrevBtn->setEnabled(move > 0);
    m_ui->NextBtn->setEnabled(move < replay->MoveCount());
    m_ui->LastBtn->setEnabled(move < replay->MoveCount());
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
