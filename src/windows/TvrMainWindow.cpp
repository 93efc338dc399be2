#include "windows/TvrMainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPolygon>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStylePainter>
#include <QScopeGuard>
#include <QThread>
#include <QToolButton>
#include <QAbstractItemView>

#include "aggregation/TvrSourceFiles.h"
#include "shell/NbBrowseButton.h"
#include "shell/NbCellText.h"
#include "shell/NbFonts.h"
#include "shell/NbGlyphText.h"
#include "shell/NbMessageBox.h"
#include "shell/NbOverrideCursor.h"
#include "shell/NbPaths.h"
#include "shell/NbShellOpen.h"
#include "shell/TvrConfig.h"
#include "shell/TvrEnvironment.h"
#include "sources/SrcKamoku.h"
#include "sources/SrcKinsen.h"
#include "sources/SrcTantosha.h"
#include "sources/SrcZandaka.h"
#include "tables/TvrConvert.h"
#include "tables/TvrCsv.h"
#include "windows/TvrMksrcDialog.h"
#include "windows/TvrSheetWindow.h"
#include "windows/TvrVersionDialog.h"

namespace tavrel {

namespace {

const char* const kSrcPathsSection = "SrcPaths";
const QString kNotUsedText = QStringLiteral(" (使用しない)");
// Lines sent within this many milliseconds of the first make a burst; of a
// burst, the first lines are painted one by one, the rest together when the
// next burst starts or the run ends.
constexpr qint64 kLogBurstInterval = 15;
constexpr int32_t kLogBurstLinesPainted = 4;

// The menu button's picture: a page of bulleted lines with a mouse pointer
// on it.
QIcon MenuButtonIcon()
{
    QPixmap Pixmap(16, 16);
    Pixmap.fill(Qt::transparent);
    QPainter Canvas(&Pixmap);
    Canvas.setPen(QColor(0x60, 0x60, 0x60));
    Canvas.setBrush(Qt::white);
    Canvas.drawRect(1, 0, 11, 14);
    for (int Line = 0; Line < 4; ++Line) {
        const int Y = 3 + Line * 3;
        Canvas.fillRect(3, Y, 2, 2, QColor(0x20, 0x50, 0xA0));
        Canvas.fillRect(6, Y, 5, 1, QColor(0x40, 0x40, 0x40));
    }
    // The pointer, its tip at the middle of the page.
    const QPolygon Pointer({QPoint(8, 7), QPoint(8, 15), QPoint(10, 13), QPoint(12, 16), QPoint(13, 15),
                            QPoint(11, 12), QPoint(14, 12)});
    Canvas.setPen(Qt::black);
    Canvas.setBrush(Qt::white);
    Canvas.drawPolygon(Pointer);
    Canvas.end();
    return QIcon(Pixmap);
}

// A bold section caption's line, one pixel high in the colour of an
// inactive caption.
QWidget* CaptionLine(QWidget* AParent, int ALeft, int ATop, int AWidth)
{
    auto* Line = new QWidget(AParent);
    Line->setGeometry(ALeft, ATop, AWidth, 1);
    Line->setAutoFillBackground(true);
    QPalette Palette = Line->palette();
    Palette.setColor(QPalette::Window, QColor(0xBF, 0xCD, 0xDB));
    Line->setPalette(Palette);
    return Line;
}

QLabel* Label(QWidget* AParent, const QString& AText, int ALeft, int ATop, bool ABold = false)
{
    auto* Result = new QLabel(AText, AParent);
    if (ABold)
        Result->setFont(MeiryoFont(11, true));
    Result->setTextFormat(Qt::PlainText);
    Result->move(ALeft, ATop);
    Result->adjustSize();
    return Result;
}

QLabel* WrappedLabel(QWidget* AParent, const QString& AText, const QRect& AGeometry)
{
    auto* Result = new QLabel(AText, AParent);
    Result->setTextFormat(Qt::PlainText);
    Result->setWordWrap(true);
    Result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Result->setGeometry(AGeometry);
    return Result;
}

} // namespace

// ---------------------------------------------------------------- combo boxes

class TTvrOwnerDrawDelegate : public QStyledItemDelegate {
public:
    explicit TTvrOwnerDrawDelegate(TTvrOwnerDrawComboBox* ACombo) : QStyledItemDelegate(ACombo), FCombo(ACombo) {}

    void paint(QPainter* APainter, const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const override
    {
        APainter->save();
        APainter->setFont(FCombo->font());
        FCombo->FDrawItem(*APainter, AIndex.row(), AOption.rect, AOption.state, true);
        APainter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const override
    {
        return QSize(QStyledItemDelegate::sizeHint(AOption, AIndex).width(), FCombo->FItemHeight);
    }

private:
    TTvrOwnerDrawComboBox* FCombo;
};

TTvrOwnerDrawComboBox::TTvrOwnerDrawComboBox(QWidget* AParent, TTvrDrawComboItem ADrawItem)
    : QComboBox(AParent), FDrawItem(std::move(ADrawItem))
{
    setItemDelegate(new TTvrOwnerDrawDelegate(this));
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
}

void TTvrOwnerDrawComboBox::SetItemHeight(int32_t AHeight)
{
    FItemHeight = AHeight;
    // The closed box: the item's height and the frame around it.
    resize(width(), AHeight + 6);
}

bool TTvrOwnerDrawComboBox::ListOpen() const
{
    return view() && view()->isVisible();
}

void TTvrOwnerDrawComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter Painter(this);
    QStyleOptionComboBox Option;
    initStyleOption(&Option);
    // The frame and the arrow come from the style; the chosen item is drawn
    // by the window in the field.
    Option.currentText.clear();
    Option.currentIcon = QIcon();
    Painter.drawComplexControl(QStyle::CC_ComboBox, Option);
    const QRect Field = style()->subControlRect(QStyle::CC_ComboBox, &Option, QStyle::SC_ComboBoxEditField, this);
    if (currentIndex() >= 0) {
        Painter.save();
        Painter.setClipRect(Field);
        FDrawItem(Painter, currentIndex(), Field, Option.state, false);
        Painter.restore();
    }
}

void TTvrOwnerDrawComboBox::mouseDoubleClickEvent(QMouseEvent* AEvent)
{
    if (!RunControlDoubleClick(this))
        QComboBox::mouseDoubleClickEvent(AEvent);
}

// ---------------------------------------------------------------- window

struct TTvrMainWindow::TSrcTable {
    QString DataName;
    QString ConfigKey;
    QString Keyword;
    const TTvrFieldDefDynArray* FieldDefs = nullptr;
    // Whether the table may be left out (the not-used item).
    bool Optional = false;
    TTvrOwnerDrawComboBox* ComboBox = nullptr;
    QPushButton* Button = nullptr;
    QAction* ActSelect = nullptr;
    QAction* ActClip = nullptr;
};

TTvrMainWindow::TTvrMainWindow(const TTvrRegionalSettings& ASettings) : FSettings(ASettings)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // A fixed single border with the system menu and the minimise box only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(MeiryoFont(11));
    setWindowTitle(ApplicationTitle());
    setWindowIcon(QApplication::windowIcon());

    FSrcTables = {
        {QStringLiteral("収支科目マスタ"), QStringLiteral("SrcKamoku"), QString::fromUtf8(kKamokuKeyword),
         &TSrcKamokuMaster::FieldDefs(), false},
        {QStringLiteral("担当者マスタ"), QStringLiteral("SrcTantosha"), QString::fromUtf8(kTantoshaKeyword),
         &TSrcTantoshaMaster::FieldDefs(), true},
        {QStringLiteral("残高テーブル"), QStringLiteral("SrcZandaka"), QString::fromUtf8(kZandakaKeyword),
         &TSrcZandakaTable::FieldDefs(), true},
        {QStringLiteral("金銭出納テーブル"), QStringLiteral("SrcKinsen"), QString::fromUtf8(kKinsenKeyword),
         &TSrcKinsenTable::FieldDefs(), false},
    };
    CreateActions();
    CreateControls();

    FMenuSpeedButton->setToolTip(QStringLiteral("・このボタンをクリックするか、ウィンドウの上で右クリックするとメニューが開きます。\n"
                                                "・説明書を見るには [ドキュメントフォルダを開く] を実行します。"));
    for (TTvrOwnerDrawComboBox* Combo : {FSrcLocationComboBox, FSrcKamokuComboBox, FSrcTantoshaComboBox,
                                         FSrcZandakaComboBox, FSrcKinsenComboBox})
        Combo->SetItemHeight(RowHeightForFont(Combo->font(), 10));
    FTotProgressMemo->clear();

    // The remembered locations, most recent first: keys 0, 1, 2 ... up to
    // the first empty one. Folders that are gone are left out.
    QStringList Lines;
    Config().ReadSectionValues(QString::fromLatin1(kSrcPathsSection), Lines);
    std::vector<std::pair<QString, QString>> Values;
    for (const QString& Line : Lines) {
        const qsizetype Eq = Line.indexOf(u'=');
        Values.emplace_back(Line.left(Eq), Line.mid(Eq + 1));
    }
    for (qsizetype I = 0; I < Lines.size(); ++I) {
        QString Value;
        for (const auto& [Key, Text] : Values) {
            if (Key.compare(QString::number(I), Qt::CaseInsensitive) == 0) {
                Value = Text.trimmed();
                break;
            }
        }
        if (Value.isEmpty())
            break;
        // A location is a folder path ending in its separator, also when the
        // file was edited by hand.
        if (!Value.endsWith(u'/'))
            Value += u'/';
        if (!DirectoryExistsQuiet(Value))
            continue;
        FSrcLocationComboBox->addItem(Value);
        if (I == 0) {
            FSrcPath = Value;
            FSrcLocationComboBox->setCurrentIndex(0);
        }
    }
    // Adding the first item chose it; without a current location nothing is.
    if (FSrcPath.isEmpty())
        FSrcLocationComboBox->setCurrentIndex(-1);
    UpdateSrcLocationDisplayNames();

    FSumup = std::make_unique<TTvrSumup>([this](const std::string& AMessage) { TotProgressSendMessage(AMessage); });
    UpdateSrcComboBoxes(true);
    StatusChange();

    // Centred on the screen when first shown.
    if (const QScreen* Screen = QGuiApplication::primaryScreen()) {
        const QRect Area = Screen->availableGeometry();
        move(Area.center() - rect().center());
    }
}

TTvrMainWindow::~TTvrMainWindow()
{
    // The viewer first: it refers to the sheets of the run.
    FSheetWindow.reset();
    FSumup.reset();
}

void TTvrMainWindow::CreateActions()
{
    auto Make = [this](const QString& ACaption) {
        auto* Action = new QAction(ACaption, this);
        connect(Action, &QAction::triggered, this, [this, Action] { ActionExecute(Action); });
        return Action;
    };
    FActSrcLocation = Make(QStringLiteral("データソースの場所"));
    // Each table's two commands are named after it.
    for (TSrcTable& Table : FSrcTables) {
        Table.ActSelect = Make(Table.DataName + QStringLiteral("を選択"));
        Table.ActClip = Make(Table.DataName + QStringLiteral("をクリップから作成"));
    }
    FActTotExec = Make(QStringLiteral("集計データ作成・表示"));
    FActHelpOpenFolder = Make(QStringLiteral("ドキュメントフォルダを開く"));
    FActHelpVersion = Make(QStringLiteral("バージョン情報"));
    FActExit = Make(QStringLiteral("終了"));

    FMenuPopupMenu = new QMenu(this);
    FMenuPopupMenu->addAction(FActSrcLocation);
    FMenuPopupMenu->addSeparator();
    for (const TSrcTable& Table : FSrcTables) {
        FMenuPopupMenu->addAction(Table.ActSelect);
        FMenuPopupMenu->addAction(Table.ActClip);
    }
    FMenuPopupMenu->addSeparator();
    FMenuPopupMenu->addAction(FActTotExec);
    FMenuPopupMenu->addSeparator();
    FMenuPopupMenu->addAction(FActHelpOpenFolder);
    FMenuPopupMenu->addAction(FActHelpVersion);
    FMenuPopupMenu->addSeparator();
    FMenuPopupMenu->addAction(FActExit);
}

QAction* TTvrMainWindow::ActSrcClip(int ATable) const
{
    return FSrcTables.at(static_cast<size_t>(ATable)).ActClip;
}

QAction* TTvrMainWindow::ActSrcSelect(int ATable) const
{
    return FSrcTables.at(static_cast<size_t>(ATable)).ActSelect;
}

void TTvrMainWindow::CreateControls()
{
    auto* Client = new QWidget(this);
    setCentralWidget(Client);
    setFixedSize(549, 632);

    FSrcCaptionLabel = Label(Client, QStringLiteral("ソースデータの選択"), 12, 12, true);
    CaptionLine(Client, 6, 32, 535);
    FMenuSpeedButton = new QToolButton(Client);
    FMenuSpeedButton->setAutoRaise(true);
    FMenuSpeedButton->setFocusPolicy(Qt::NoFocus);
    FMenuSpeedButton->setIcon(MenuButtonIcon());
    FMenuSpeedButton->setIconSize(QSize(16, 16));
    FMenuSpeedButton->setGeometry(522, 4, 23, 22);
    connect(FMenuSpeedButton, &QToolButton::clicked, this, [this] { MenuSpeedButtonClick(); });
    WrappedLabel(Client,
                 QStringLiteral("ソースデータの場所とソースデータを指定します。ソースデータはドロップダウンから選択するか、"
                                "または [作成...] でクリップボードから該当データを作成します。"),
                 QRect(20, 44, 509, 34));

    FSrcLocationLabel = Label(Client, QStringLiteral("ソースデータの場所 :"), 20, 92);
    FSrcLocationComboBox = new TTvrOwnerDrawComboBox(
        Client, [this](QPainter& ACanvas, int AIndex, const QRect& ARect, QStyle::State AState, bool AListOpen) {
            SrcLocationComboBoxDrawItem(ACanvas, AIndex, ARect, AState, AListOpen);
        });
    FSrcLocationComboBox->setGeometry(138, 92 - 3, 391, 25);
    FSrcLocationComboBox->setMaxVisibleItems(10);
    FSrcLocationLabel->setBuddy(FSrcLocationComboBox);
    connect(FSrcLocationComboBox, &QComboBox::activated, this, [this](int AIndex) { SrcLocationComboBoxChange(AIndex); });
    SetControlDoubleClick(FSrcLocationComboBox, [this] { ActionExecute(FActSrcLocation); });
    FSrcLocationComboBox->view()->installEventFilter(this);

    const QString Captions[] = {QStringLiteral("収支科目マスタ :"), QStringLiteral("担当者マスタ :"),
                                QStringLiteral("残高テーブル :"), QStringLiteral("金銭出納テーブル :")};
    QWidget* Previous = FSrcLocationComboBox;
    for (size_t I = 0; I < FSrcTables.size(); ++I) {
        TSrcTable& Table = FSrcTables[I];
        const int Top = 126 + static_cast<int>(I) * 28;
        QLabel* Caption = Label(Client, Captions[I], 20, Top);
        auto* Combo = new TTvrOwnerDrawComboBox(
            Client, [this, I](QPainter& ACanvas, int AIndex, const QRect& ARect, QStyle::State AState, bool AListOpen) {
                SrcComboBoxDrawItem(FSrcTables[I].ComboBox, ACanvas, AIndex, ARect, AState, AListOpen);
            });
        Table.ComboBox = Combo;
        Combo->setGeometry(138, Top - 3, 332, 25);
        Caption->setBuddy(Combo);
        connect(Combo, &QComboBox::activated, this, [this] { SrcComboBoxStatusChange(); });
        Table.Button = new QPushButton(QStringLiteral("作成..."), Client);
        Table.Button->setGeometry(476, Top - 3, 53, 25);
        connect(Table.Button, &QPushButton::clicked, Table.ActClip, &QAction::trigger);
        QWidget::setTabOrder(Previous, Combo);
        QWidget::setTabOrder(Combo, Table.Button);
        Previous = Table.Button;
    }
    FSrcKamokuComboBox = FSrcTables[0].ComboBox;
    FSrcTantoshaComboBox = FSrcTables[1].ComboBox;
    FSrcZandakaComboBox = FSrcTables[2].ComboBox;
    FSrcKinsenComboBox = FSrcTables[3].ComboBox;
    FSrcKamokuButton = FSrcTables[0].Button;
    FSrcTantoshaButton = FSrcTables[1].Button;
    FSrcZandakaButton = FSrcTables[2].Button;
    FSrcKinsenButton = FSrcTables[3].Button;

    Label(Client, QStringLiteral("集計データの作成"), 14, 248, true);
    CaptionLine(Client, 8, 268, 535);
    WrappedLabel(Client,
                 QStringLiteral("ソースデータから集計データを作成し表示します。[集計データ作成・表示] をクリックしてください。"
                                "集計が完了すると [集計データビュー] が開きます。完了できなかった場合には [集計ログ:] "
                                "で状況を確認し対応してください。"),
                 QRect(20, 280, 509, 51));
    FTotExecButton = new QPushButton(FActTotExec->text(), Client);
    FTotExecButton->setGeometry(388, 330, 141, 25);
    connect(FTotExecButton, &QPushButton::clicked, FActTotExec, &QAction::trigger);
    connect(FActTotExec, &QAction::enabledChanged, FTotExecButton, &QPushButton::setEnabled);
    QLabel* ProgressLabel = Label(Client, QStringLiteral("集計ログ :"), 20, 350);
    FTotProgressMemo = new QPlainTextEdit(Client);
    FTotProgressMemo->setGeometry(20, 370, 509, 245);
    FTotProgressMemo->setReadOnly(true);
    FTotProgressMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // A right click on the log opens the window's menu, as everywhere else.
    FTotProgressMemo->setContextMenuPolicy(Qt::NoContextMenu);
    FTotProgressMemo->viewport()->setContextMenuPolicy(Qt::NoContextMenu);
    ProgressLabel->setBuddy(FTotProgressMemo);
    QWidget::setTabOrder(Previous, FTotExecButton);
    QWidget::setTabOrder(FTotExecButton, FTotProgressMemo);
    FSrcLocationComboBox->setFocus();
}

void TTvrMainWindow::showEvent(QShowEvent* AEvent)
{
    TTvrTaskBarWindow::showEvent(AEvent);
    if (!FShown) {
        FShown = true;
        FormShow();
    }
}

void TTvrMainWindow::FormShow()
{
    AttachBrowseButton(FSrcLocationComboBox, FSrcLocationLabel, -1);
    for (TSrcTable& Table : FSrcTables)
        Table.Button->setGeometry(Table.Button->x(), Table.ComboBox->y(), Table.Button->width(),
                                  Table.ComboBox->height());
}

void TTvrMainWindow::closeEvent(QCloseEvent* AEvent)
{
    const QString Text = QStringLiteral("%1 を終了します。").arg(qEnvironmentVariable(kAppSystemName));
    if (ShowMessageBox(nmkNotice, Text, nmbOkCancel) != nmaOk) {
        AEvent->ignore();
        return;
    }
    AEvent->accept();
}

void TTvrMainWindow::contextMenuEvent(QContextMenuEvent* AEvent)
{
    FMenuPopupMenu->popup(AEvent->globalPos());
}

bool TTvrMainWindow::eventFilter(QObject* AWatched, QEvent* AEvent)
{
    if (AWatched == FSrcLocationComboBox->view() && AEvent->type() == QEvent::KeyPress
        && SrcLocationComboBoxKeyDown(static_cast<QKeyEvent*>(AEvent)))
        return true;
    return TTvrTaskBarWindow::eventFilter(AWatched, AEvent);
}

void TTvrMainWindow::MenuSpeedButtonClick()
{
    // The menu's right edge at the button's bottom-left corner.
    const QPoint Corner = FMenuSpeedButton->mapToGlobal(QPoint(0, FMenuSpeedButton->height()));
    FMenuPopupMenu->ensurePolished();
    const QSize Size = FMenuPopupMenu->sizeHint();
    FMenuPopupMenu->popup(QPoint(Corner.x() - Size.width(), Corner.y()));
}

void TTvrMainWindow::StatusChange()
{
    bool Ready = FSrcLocationComboBox->currentIndex() >= 0;
    for (const TSrcTable& Table : FSrcTables)
        Ready = Ready && Table.ComboBox->currentIndex() >= 0;
    FActTotExec->setEnabled(Ready);
    FTotExecButton->setEnabled(Ready);
    // The viewer shows only the sheets of the sources chosen.
    if (FSheetWindow)
        FSheetWindow->hide();
}

void TTvrMainWindow::SrcComboBoxStatusChange()
{
    FTotProgressMemo->clear();
    StatusChange();
}

QString TTvrMainWindow::SrcFileItemText(int AIndex) const
{
    // The not-used item comes after the files.
    if (AIndex < 0 || static_cast<size_t>(AIndex) >= FSrcFiles.size())
        return QString();
    const TTvrMainSrcFiles& File = FSrcFiles[static_cast<size_t>(AIndex)];
    const QString Sep = QString::fromStdString(FSettings.TimeSeparator);
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0;
    File.FileTimeStamp.Decode(Year, Month, Day);
    File.FileTimeStamp.DecodeTime(Hour, Minute);
    auto Two = [](int AValue) { return QStringLiteral("%1").arg(AValue, 2, 10, QLatin1Char('0')); };
    // Only the time for a file of today.
    QString DateText = Two(Hour) + Sep + Two(Minute);
    if (File.FileDays != 0)
        DateText = QStringLiteral("%1").arg(Year, 4, 10, QLatin1Char('0')) + Sep + Two(Month) + Sep + Two(Day)
                   + u' ' + DateText;
    return QStringLiteral("%1  %2 (%3)").arg(QFileInfo(File.FileName).fileName(), DateText, File.FileDaysString);
}

void TTvrMainWindow::SrcComboBoxDrawItem(TTvrOwnerDrawComboBox* AControl, QPainter& ACanvas, int AIndex,
                                         const QRect& ARect, QStyle::State AState, bool AListOpen)
{
    const QPalette& Palette = AControl->palette();
    const bool Selected = AListOpen && (AState & QStyle::State_Selected);
    ACanvas.setBrush(Selected ? Palette.color(QPalette::Highlight) : Palette.color(QPalette::Base));
    ACanvas.setPen(Selected ? Palette.color(QPalette::HighlightedText) : Palette.color(QPalette::Text));
    const QString Name = AControl->itemText(AIndex);
    if (!Name.isEmpty() && static_cast<size_t>(AIndex) < FSrcFiles.size()) {
        TNbGlyphText Glyph;
        Glyph.Initialize(&ACanvas);
        if (!AControl->isEnabled())
            Glyph.FDrawingStyle = ngtdsDisabled;
        Glyph.Draw(ARect, FSrcPath + Name, SrcFileItemText(AIndex));
    } else {
        ACanvas.fillRect(ARect, ACanvas.brush());
        ACanvas.drawText(ARect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         Name.isEmpty() ? kNotUsedText : Name);
    }
    ResetControlCanvas(ACanvas, *AControl);
}

void TTvrMainWindow::SrcLocationComboBoxDrawItem(QPainter& ACanvas, int AIndex, const QRect& ARect,
                                                 QStyle::State AState, bool AListOpen)
{
    TTvrOwnerDrawComboBox* Control = FSrcLocationComboBox;
    const QString Folder = Control->itemText(AIndex);
    if (!AListOpen)
        Control->setToolTip(PathFullDisplayName(Folder));
    const QPalette& Palette = Control->palette();
    const bool Selected = AListOpen && (AState & QStyle::State_Selected);
    ACanvas.setBrush(Selected ? Palette.color(QPalette::Highlight) : Palette.color(QPalette::Base));
    ACanvas.setPen(Selected ? Palette.color(QPalette::HighlightedText) : Palette.color(QPalette::Text));
    TNbGlyphText Glyph;
    Glyph.Initialize(&ACanvas);
    Glyph.Draw(ARect, Folder, AIndex < FSrcLocationDisplayNames.size() ? FSrcLocationDisplayNames[AIndex] : Folder);
    ResetControlCanvas(ACanvas, *Control);
}

void TTvrMainWindow::SrcLocationComboBoxChange(int AIndex)
{
    if (AIndex < 0)
        return;
    try {
        SetSrcPath(FSrcLocationComboBox->itemText(AIndex));
    } catch (const std::exception& E) {
        ShowErrorMessage(E);
    }
    UpdateSrcComboBoxes(false);
    StatusChange();
}

bool TTvrMainWindow::SrcLocationComboBoxKeyDown(QKeyEvent* AEvent)
{
    if (AEvent->key() != Qt::Key_Delete
        || (AEvent->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
        return false;
    if (!FSrcLocationComboBox->ListOpen())
        return false;
    const int Highlighted = FSrcLocationComboBox->view()->currentIndex().row();
    if (Highlighted <= 0)
        return true;
    {
        const QSignalBlocker Blocker(FSrcLocationComboBox);
        FSrcLocationComboBox->removeItem(Highlighted);
        FSrcLocationComboBox->setCurrentIndex(0);
    }
    UpdateSrcLocationDisplayNames();
    try {
        SaveSrcPaths();
    } catch (const std::exception& E) {
        ShowErrorMessage(E);
    }
    return true;
}

void TTvrMainWindow::SelectSrcFile(QComboBox* ACombo, const std::optional<QString>& AName, const QString& AKeyword)
{
    // The name as written first: a folder on Linux may hold both a.csv and
    // A.CSV, and the one remembered is the one meant.
    int Found = AName ? ACombo->findText(*AName, Qt::MatchFixedString | Qt::MatchCaseSensitive) : -1;
    if (AName && Found < 0)
        Found = ACombo->findText(*AName, Qt::MatchFixedString);
    for (int I = 0; I < ACombo->count() && Found < 0; ++I)
        if (ACombo->itemText(I).contains(AKeyword, Qt::CaseSensitive))
            Found = I;
    ACombo->setCurrentIndex(Found);
}

void TTvrMainWindow::UpdateSrcComboBoxes(bool AFromConfig)
{
    const bool Usable = !FSrcPath.isEmpty() && DirectoryExistsQuiet(FSrcPath);
    // The names to choose again. A box without a choice, or a key never
    // written, names nothing: then the keyword decides. The empty name is the
    // not-used item, chosen on purpose and kept.
    std::vector<std::optional<QString>> Names;
    for (const TSrcTable& Table : FSrcTables) {
        if (AFromConfig)
            Names.push_back(Config().FindString(Table.ConfigKey));
        else
            Names.push_back(Table.ComboBox->currentIndex() >= 0 ? std::optional<QString>(Table.ComboBox->currentText())
                                                                : std::nullopt);
    }

    std::vector<QSignalBlocker> Blockers;
    for (const TSrcTable& Table : FSrcTables) {
        Blockers.emplace_back(Table.ComboBox);
        Table.ComboBox->clear();
    }
    FSrcFiles.clear();

    if (Usable) {
        // The times first, so that the boxes never list a file without one.
        std::vector<TTvrMainSrcFiles> Files;
        QStringList Items;
        try {
            const TTvrDate Today = TTvrSheetWindow::CurrentDate();
            for (const std::string& Name : ListCsvFiles(FSrcPath.toStdString())) {
                TTvrMainSrcFiles File;
                File.FileName = FSrcPath + QString::fromStdString(Name);
                // The operating system's message when the file went away
                // since the listing.
                File.FileTimeStamp = FileModificationTime(File.FileName.toStdString());
                std::string Age;
                DateAgeText(File.FileTimeStamp.DateOnly(), Today, File.FileDays, Age);
                File.FileDaysString = QString::fromStdString(Age);
                Files.push_back(std::move(File));
                Items.append(QString::fromStdString(Name));
            }
        } catch (const std::exception& E) {
            Files.clear();
            Items.clear();
            ShowErrorMessage(E);
        }
        FSrcFiles = std::move(Files);
        for (size_t I = 0; I < FSrcTables.size(); ++I) {
            TSrcTable& Table = FSrcTables[I];
            Table.ComboBox->addItems(Items);
            if (Table.Optional)
                Table.ComboBox->addItem(QString());
            SelectSrcFile(Table.ComboBox, Names[I], Table.Keyword);
        }
    }

    for (TSrcTable& Table : FSrcTables) {
        Table.ComboBox->setEnabled(Usable);
        Table.Button->setEnabled(Usable);
        // Without a location a table made from the clipboard would have no
        // folder to go to, and an empty list has nothing to open.
        Table.ActClip->setEnabled(Usable);
        Table.ActSelect->setEnabled(Usable);
        Table.ComboBox->update();
    }
    FTotProgressMemo->clear();
    if (FSheetWindow)
        FSheetWindow->hide();
}

void TTvrMainWindow::SetSrcPath(const QString& APath)
{
    FSrcPath = APath;
    const QSignalBlocker Blocker(FSrcLocationComboBox);
    // Folder names differ by letter case on Linux: /data/Acc and /data/acc
    // are two locations, and the current one must be the one listed first.
    const int Found = FSrcLocationComboBox->findText(APath, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (Found > 0)
        FSrcLocationComboBox->removeItem(Found);
    if (Found != 0)
        FSrcLocationComboBox->insertItem(0, APath);
    FSrcLocationComboBox->setCurrentIndex(0);
    FSrcLocationComboBox->setToolTip(PathFullDisplayName(APath));
    UpdateSrcLocationDisplayNames();
    SaveSrcPaths();
}

void TTvrMainWindow::UpdateSrcLocationDisplayNames()
{
    FSrcLocationDisplayNames.clear();
    for (int I = 0; I < FSrcLocationComboBox->count(); ++I) {
        const QString Full = PathFullDisplayName(FSrcLocationComboBox->itemText(I));
        // The root counts as a part of its own, shown as "/".
        QStringList Parts = Full.split(u'/', Qt::SkipEmptyParts);
        if (Full.startsWith(u'/'))
            Parts.prepend(QStringLiteral("/"));
        const qsizetype First = std::max<qsizetype>(0, Parts.size() - 3);
        QString Name;
        for (qsizetype P = First; P < Parts.size(); ++P)
            Name += QStringLiteral(" ■ ") + Parts[P];
        FSrcLocationDisplayNames.append(Name);
    }
    FSrcLocationComboBox->update();
}

void TTvrMainWindow::SaveSrcPaths()
{
    QStringList Lines;
    for (int I = 0; I < FSrcLocationComboBox->count(); ++I)
        Lines.append(QStringLiteral("%1=%2").arg(I).arg(FSrcLocationComboBox->itemText(I)));
    Config().WriteSectionValues(QString::fromLatin1(kSrcPathsSection), Lines);
}

void TTvrMainWindow::FlushLog()
{
    if (FPendingLog.isEmpty())
        return;
    // One paragraph a line; the lines held back go in at once, which keeps a
    // log of many thousand rejected rows quick.
    FTotProgressMemo->appendPlainText(FPendingLog.join(u'\n'));
    FPendingLog.clear();
    FTotProgressMemo->verticalScrollBar()->setValue(FTotProgressMemo->verticalScrollBar()->maximum());
    // The run holds the event loop: the log is painted here and now, and no
    // input is taken, so no second run can start.
    FTotProgressMemo->repaint();
}

void TTvrMainWindow::TotProgressSendMessage(const std::string& AMessage)
{
    const std::vector<std::string> Lines = LogLines(AMessage);
    for (const std::string& Line : Lines)
        FPendingLog.append(QString::fromStdString(Line));
    // A line that says what the run does next (and may take long) is painted
    // at once; only a burst of lines, such as the rejected rows of a table,
    // is painted a few times a second.
    const qint64 Now = QDateTime::currentMSecsSinceEpoch();
    if (Now - FLogBurstStart >= kLogBurstInterval) {
        FLogBurstStart = Now;
        FLogBurstLines = 0;
    }
    FLogBurstLines += static_cast<int32_t>(Lines.size());
    if (FLogBurstLines <= kLogBurstLinesPainted)
        FlushLog();
}

bool TTvrMainWindow::OpenSrcLocation(const QString& AFolder)
{
    if (!DirectoryExistsQuiet(AFolder)) {
        ShowMessageBox(nmkWarning, QStringLiteral("フォルダ \"%1\" が見つかりません。").arg(AFolder));
        return false;
    }
    try {
        SetSrcPath(ExpandFolderPath(AFolder));
    } catch (const std::exception& E) {
        ShowErrorMessage(E);
    }
    UpdateSrcComboBoxes(true);
    StatusChange();
    return true;
}

TTvrMainWindow::TSrcTable* TTvrMainWindow::SrcTableOf(QAction* AAction)
{
    for (TSrcTable& Table : FSrcTables)
        if (Table.ActSelect == AAction || Table.ActClip == AAction)
            return &Table;
    return nullptr;
}

void TTvrMainWindow::ActionExecute(QAction* ASender)
{
    if (ASender == FActSrcLocation) {
        QString Path = FSrcPath;
        if (!SelectFolder(QStringLiteral("ソースデータの場所を指定してください。\n\n") + FSrcLocationLabel->text(), Path,
                          this))
            return;
        try {
            SetSrcPath(Path);
        } catch (const std::exception& E) {
            ShowErrorMessage(E);
        }
        UpdateSrcComboBoxes(false);
        StatusChange();
    } else if (ASender == FActTotExec) {
        TotExec();
    } else if (ASender == FActHelpOpenFolder) {
        try {
            OpenWithShell(DocumentsFolder());
        } catch (const std::exception& E) {
            ShowErrorMessage(E);
        }
    } else if (ASender == FActHelpVersion) {
        TTvrVersionDialog Dialog(this);
        Dialog.exec();
    } else if (ASender == FActExit) {
        close();
    } else if (TSrcTable* Table = SrcTableOf(ASender)) {
        if (ASender == Table->ActSelect) {
            Table->ComboBox->setFocus();
            Table->ComboBox->showPopup();
            return;
        }
        TTvrMksrcParams Params;
        Params.Parent = this;
        Params.DataName = Table->DataName;
        Params.FileName = FSrcPath + Table->DataName + QStringLiteral(".csv");
        Params.FieldDefs = *Table->FieldDefs;
        Params.Settings = FSettings;
        if (!ExecuteMksrcDialog(Params))
            return;
        UpdateSrcComboBoxes(false);
        const QString Name = QFileInfo(Params.FileName).fileName();
        SelectSrcFile(Table->ComboBox, Name, Name);
        StatusChange();
    }
}

void TTvrMainWindow::ShowSheetWindow()
{
    if (FSheetWindow->isMinimized())
        FSheetWindow->showNormal();
    FSheetWindow->show();
    FSheetWindow->raise();
    FSheetWindow->activateWindow();
}

void TTvrMainWindow::TotExec()
{
    // The viewer on screen already shows the sheets of this choice.
    if (FSheetWindow && FSheetWindow->isVisible()) {
        ShowSheetWindow();
        return;
    }
    if (!FActTotExec->isEnabled())
        return;
    bool Ok = false;
    try {
        const TNbOverrideCursor Wait;
        FTotExecButton->setEnabled(false);
        // However the run ends, the log is complete and the button and the
        // cursor come back, before any error is shown.
        const auto Restore = qScopeGuard([this] {
            FlushLog();
            FTotExecButton->setEnabled(FActTotExec->isEnabled());
        });
        FTotProgressMemo->clear();
        FPendingLog.clear();
        repaint();
        QThread::msleep(300);
        FLogBurstStart = 0;

        TTvrExecuteParams Params;
        std::string* const Names[] = {&Params.KamokuMaster, &Params.TantoshaMaster, &Params.ZandakaTable,
                                      &Params.KinsenTable};
        for (size_t I = 0; I < FSrcTables.size(); ++I) {
            const QString Name = FSrcTables[I].ComboBox->currentText();
            Config().WriteString(FSrcTables[I].ConfigKey, Name);
            *Names[I] = Name.toStdString();
        }
        Params.PathInput = FSrcPath.toStdString();
        Params.PathOutput = (FSrcPath + QStringLiteral("output/")).toStdString();
        Params.SendMessage = [this](const std::string& AMessage) { TotProgressSendMessage(AMessage); };
        Params.Settings = FSettings;
        Params.Today = TTvrSheetWindow::CurrentDate();
        Ok = FSumup->Execute(Params);
        FlushLog();

        if (Ok)
            QThread::msleep(1000);
        else
            ShowMessageBox(nmkWarning, QStringLiteral("集計を完了できませんでした。\\n[集計ログ:] を確認してください。"),
                           nmbOk);
        if (FSumup->Inputs().Count() == 0 && FSumup->Outputs().Count() == 0)
            return;
        if (!FSheetWindow)
            FSheetWindow = std::make_unique<TTvrSheetWindow>(FSumup->Inputs(), FSumup->Outputs(), FSettings,
                                                             Params.Today);
        else
            FSheetWindow->Setup(FSumup->Inputs(), FSumup->Outputs(), Params.Today);
    } catch (const std::exception& E) {
        ShowErrorMessage(E);
        return;
    }

    ShowSheetWindow();
    // A run that failed leaves its log in view, above the viewer.
    if (!Ok) {
        raise();
        activateWindow();
    }
}

} // namespace tavrel
