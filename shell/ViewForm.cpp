#include "shell/ViewForm.h"

#include "ui_ViewForm.h"

#include "conversion/FileError.h"
#include "conversion/FileOps.h"
#include "conversion/GameCheck.h"
#include "conversion/LineList.h"
#include "shell/BoardPane.h"
#include "shell/OnScreen.h"
#include "shell/QtText.h"
#include "shell/ShellTexts.h"
#include "shell/TextView.h"
#include "shell/ViewText.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QHBoxLayout>
#include <QSplitter>
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace {

// The classic window, all of it the text.
constexpr QSize CLASSIC_SIZE(474, 323);
// With the board beside the text: room for a 19 x 19 board a player reads with ease.
constexpr QSize BOARD_SIZE(474 + 6 + 440, 600);
constexpr QSize SMALLEST_WITH_BOARD(474 + 6 + 220, 323);
// The bytes of a file decoded at a time.
constexpr std::size_t PIECE_BYTES = 16384;
// How long after it is shown the viewer takes the front back from the program's other windows.
constexpr int FRONT_MS = 1000;

}  // namespace

TViewForm::TViewForm(const QWidget* owner)
    : QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      m_ui(std::make_unique<Ui::TViewForm>()),
      m_shownSize(BOARD_SIZE) {
    m_ui->setupUi(this);
    move(393, 249);
    // Whole on the screen of the main window, shrunk to it when the board makes it larger.
    KeepOnScreen(*this, owner);
    m_ui->Memo1->SetText(QStringLiteral("Memo1"));

    // The text keeps its designed place and size (0, 0, 473 x 321 of the classic window); the
    // board goes to its right, in a splitter the user can drag.
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("ViewSplitter"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(m_ui->Memo1);
    m_boardPane = new TBoardPane(m_splitter);
    m_boardPane->setObjectName(QStringLiteral("BoardPane"));
    m_splitter->addWidget(m_boardPane);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, CLASSIC_SIZE.width() - 473, CLASSIC_SIZE.height() - 321);
    layout->addWidget(m_splitter);

    m_boardAction = new QAction(QStringLiteral("盤面を表示"), this);
    m_boardAction->setObjectName(QStringLiteral("BoardAction"));
    m_boardAction->setCheckable(true);
    m_boardAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    // The text's menu: the usual copy and select-all, then the board.
    m_ui->Memo1->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (QAction* action : m_ui->Memo1->EditActions()) {
        m_ui->Memo1->addAction(action);
    }
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    m_ui->Memo1->addAction(separator);
    m_ui->Memo1->addAction(m_boardAction);
    addAction(m_boardAction);
    connect(m_boardAction, &QAction::triggered, this, [this](bool shown) { ShowBoard(shown); });
    m_boardPane->OnHideAsked = [this] { ShowBoard(false); };
    m_boardPane->OnConvertedAsked = [this] { ReadGameForSettings(); };
    m_boardPane->OnGameAsked = [this] { ReadGame(); };

    Arrange();
}

TViewForm::~TViewForm() = default;

void TViewForm::ShowBoard(bool shown) {
    if (shown == m_boardShown) {
        return;
    }
    if (!shown && width() >= SMALLEST_WITH_BOARD.width()) {
        m_shownSize = size();
    }
    m_boardShown = shown;
    // A window that changes its flags is hidden by the system; it comes back as it was.
    const bool visible = isVisible();
    Arrange();
    if (visible) {
        show();
    }
    if (shown) {
        OfferGame();
    }
}

void TViewForm::Arrange() {
    m_boardAction->setChecked(m_boardShown);
    m_boardPane->setVisible(m_boardShown);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint, !m_boardShown);
    if (m_boardShown) {
        setMinimumSize(SMALLEST_WITH_BOARD);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        resize(m_shownSize);
        m_splitter->setSizes({473, m_shownSize.width() - 473});
    } else {
        setFixedSize(CLASSIC_SIZE);
    }
}

bool TViewForm::event(QEvent* event) {
    if (event->type() == QEvent::WindowDeactivate && m_keepFront) {
        if (m_frontSince.elapsed() < FRONT_MS) {
            // Taken by another window of the program without the user's asking: given back once
            // the events of the moment are done. A press on a window's frame (its title bar, a
            // border) or on another program reaches no window of the program, so it is seen by
            // where the pointer is: outside every window's client area, the user turned away.
            QTimer::singleShot(0, this, [this] {
                if (!PointerOnProgram()) {
                    LetGoOfFront();
                } else if (m_keepFront && isVisible() && !isActiveWindow() &&
                           QApplication::activeModalWidget() == nullptr) {
                    raise();
                    activateWindow();
                }
            });
        } else {
            LetGoOfFront();
        }
    }
    return QWidget::event(event);
}

bool TViewForm::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::KeyPress:
        case QEvent::NonClientAreaMouseButtonPress:
            // The user turns to a window: the viewer no longer keeps the front.
            if (event->spontaneous()) {
                LetGoOfFront();
            }
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

bool TViewForm::PointerOnProgram() {
    const QPoint pointer = QCursor::pos();
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [&](const QWidget* window) {
        return window->isVisible() && window->geometry().contains(pointer);
    });
}

void TViewForm::LetGoOfFront() {
    m_keepFront = false;
    qApp->removeEventFilter(this);
}

void TViewForm::BringToFront() {
    show();
    raise();
    activateWindow();
    // The press that asked for the viewer may still have its release and its double-click on the
    // way: they come with the same moment, and a press after them is the user's.
    m_keepFront = true;
    m_frontSince.start();
    qApp->removeEventFilter(this);
    qApp->installEventFilter(this);
}

void TViewForm::ViewFile(const std::string& path) {
    BringToFront();
    setWindowTitle(FromName(path));
    m_ui->Memo1->Clear();
    m_bytes.reset();
    m_kind = RecordKindOf(path);
    m_gameRead = true;
    m_boardPane->ShowNothing({});
    // Looked at before it is read, so a huge file is refused without filling the memory.
    if (const std::optional<std::uint64_t> size = FileSize(path); size && *size > MAX_BYTES) {
        throw TUserError(texts::TEXT_TOO_LARGE);
    }
    auto bytes = std::make_shared<const std::string>(LoadBytes(path));
    if (bytes->size() > MAX_BYTES) {
        throw TUserError(texts::TEXT_TOO_LARGE);
    }
    // An SGF record is read by the conversion's rule, so a UTF-8 record shows its own text. The
    // text is decoded as the view asks for it: the first screen at once, the rest after it shows.
    auto text = std::make_shared<TViewedText>(bytes, m_kind == TRecordKind::Sgf);
    m_ui->Memo1->SetSource(
        [text](QString& shown) {
            const std::string_view piece = text->Next(PIECE_BYTES);
            if (text->Utf8()) {
                shown += QString::fromUtf8(piece.data(), static_cast<qsizetype>(piece.size()));
            } else {
                AppendShiftJis(piece, shown);
            }
            return text->Done();
        },
        static_cast<qsizetype>(text->Size()));
    if (m_kind == TRecordKind::Other) {
        m_boardPane->ShowNothing(QStringLiteral("棋譜のファイルではありません"));
        return;
    }
    m_bytes = std::move(bytes);
    m_gameRead = false;
    if (m_boardShown) {
        OfferGame();
    }
}

void TViewForm::OfferGame() {
    if (m_gameRead || m_bytes->size() <= GAME_AT_ONCE_BYTES) {
        ReadGame();
        return;
    }
    m_boardPane->ShowDeferred(QStringLiteral("大きな棋譜です（%1 MB）。盤面は求めに応じて読みます")
                                  .arg(static_cast<double>(m_bytes->size()) / 1e6, 0, 'f', 1));
}

TConversionSettings TViewForm::Settings() const {
    return m_settings ? *m_settings : TConversionSettings();
}

TGameCheck TViewForm::CheckGame() {
    m_readWith = Settings();
    return CheckRecordGame(m_bytes ? std::string_view(*m_bytes) : std::string_view(), m_kind,
                           m_readWith);
}

// The game is read, and the record converted in memory, only when the pane shows: a user who
// hides the board has the classic viewer's speed.
void TViewForm::ReadGame() {
    if (!m_gameRead) {
        m_gameRead = true;
        m_boardPane->ShowCheck(CheckGame());
    }
}

void TViewForm::ReadGameForSettings() {
    if (m_kind != TRecordKind::Other && m_gameRead && Settings() != m_readWith) {
        m_boardPane->UpdateCheck(CheckGame());
    }
}
