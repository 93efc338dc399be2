// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrMainWindow.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPolygon>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QToolButton>
#include <cerrno>
#include <ctime>
#include <dirent.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#include "aggregation/TvrSourceFiles.h"
#include "print/PrtYearEnd.h"
#include "reports/RptNextYear.h"
#include "shell/NbBrowseButton.h"
#include "shell/NbCellText.h"
#include "shell/NbFileNames.h"
#include "shell/NbFonts.h"
#include "shell/NbGlyphText.h"
#include "shell/NbMessageBox.h"
#include "shell/NbPaths.h"
#include "shell/NbShellOpen.h"
#include "shell/TvrConfig.h"
#include "shell/TvrEnvironment.h"
#include "tables/TvrConvert.h"
#include "tables/TvrCsv.h"
#include "windows/TvrLogView.h"
#include "windows/TvrMksrcDialog.h"
#include "windows/TvrRunController.h"
#include "windows/TvrSheetWindow.h"
#include "windows/TvrSrcLocationHistory.h"
#include "windows/TvrVersionDialog.h"
#include "windows/TvrYearEndDialog.h"
#include "windows/TvrYearEndSettings.h"

namespace tavrel {

namespace {

const QString kNotUsedText = QStringLiteral(" (使用しない)");

// The role of a file box's item that holds the file's name as bytes (a
// QByteArray); the item's text is the name as the user reads it.
constexpr int kFileNameRole = Qt::UserRole;

// The CSV files of a source folder (ListCsvFiles); ETvrError with the
// system's reason when the folder cannot be read, where an empty listing
// alone would give four empty lists without a word.
std::vector<std::string> ListSrcFolder(const std::string& AFolder)
{
    std::error_code Error;
    std::vector<std::string> Names = ListCsvFiles(AFolder, &Error);
    if (Error)
        throw ETvrError("フォルダ \"" + PathDisplay(AFolder).toStdString() + "\" を開けません。" + Error.message());
    return Names;
}

// The folder's path without the separators at its end; the root stays.
std::string WithoutTrailingSlashes(std::string AFolder)
{
    while (AFolder.size() > 1 && AFolder.back() == '/')
        AFolder.pop_back();
    return AFolder;
}

// The folder a folder lies in, with its separator; the root for the root.
std::string ParentFolder(const std::string& AFolder)
{
    const std::string Folder = WithoutTrailingSlashes(AFolder);
    const size_t Slash = Folder.rfind('/');
    return Slash == std::string::npos ? std::string() : Folder.substr(0, Slash + 1);
}

QString FromView(std::string_view AText)
{
    return QString::fromUtf8(AText.data(), static_cast<qsizetype>(AText.size()));
}

// The configuration key that remembers the file chosen for each table.
QString SrcConfigKey(TSrcTableKind AKind)
{
    switch (AKind) {
    case TSrcTableKind::Kamoku:
        return QStringLiteral("SrcKamoku");
    case TSrcTableKind::Tantosha:
        return QStringLiteral("SrcTantosha");
    case TSrcTableKind::Zandaka:
        return QStringLiteral("SrcZandaka");
    case TSrcTableKind::Kinsen:
        break;
    }
    return QStringLiteral("SrcKinsen");
}

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

// ---------------------------------------------------------------- window

TTvrMainWindow::TTvrMainWindow(const TTvrRegionalSettings& ASettings) : FSettings(ASettings)
{
    setAttribute(Qt::WA_DeleteOnClose);
    // A fixed single border with the system menu and the minimise box only.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(MeiryoFont(11));
    setWindowTitle(ApplicationTitle());
    setWindowIcon(QApplication::windowIcon());

    for (const TSrcTableKind Kind : kSrcTableKinds) {
        TSrcTable& Table = FSrcTables[static_cast<size_t>(Kind)];
        Table.Info = &SrcTableInfo(Kind);
        Table.ConfigKey = SrcConfigKey(Kind);
    }
    CreateActions();
    CreateControls();

    FMenuSpeedButton->setToolTip(QStringLiteral("・このボタンをクリックするか、ウィンドウの上で右クリックするとメニューが開きます。\n"
                                                "・説明書を見るには [ドキュメントフォルダを開く] を実行します。"));
    FSrcLocationComboBox->SetItemHeight(RowHeightForFont(FSrcLocationComboBox->font(), 10));
    for (TSrcTable& Table : FSrcTables)
        Table.ComboBox->SetItemHeight(RowHeightForFont(Table.ComboBox->font(), 10));
    FTotProgressMemo->Clear();

    // The remembered locations, most recent first; the first is the current
    // one when its folder is still there.
    if (FSrcLocationHistory->Load(Config())) {
        FSrcPath = FSrcLocationHistory->Folders().front();
        FSrcLocationComboBox->setCurrentIndex(0);
    } else {
        FSrcLocationComboBox->setCurrentIndex(-1);
    }

    FRun = std::make_unique<TTvrRunController>(this, FTotProgressMemo, FTotExecButton, FActTotExec,
                                               FSettings,
                                               [this](const std::string& AMessage) { TotProgressSendMessage(AMessage); });
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
    // The viewer and the run's sheets go with the run.
    FRun.reset();
}

QStringList TTvrMainWindow::SrcLocationDisplayNames() const
{
    return FSrcLocationHistory->DisplayNames();
}

QString TTvrMainWindow::SrcPath() const
{
    return PathDisplay(FSrcPath);
}

std::string TTvrMainWindow::SrcFileName(TSrcTableKind AKind) const
{
    const QComboBox* Combo = SrcComboBox(AKind);
    return Combo->currentIndex() < 0 ? std::string() : FromByteArray(Combo->currentData(kFileNameRole).toByteArray());
}

TTvrSheetWindow* TTvrMainWindow::SheetWindow() const
{
    return FRun->SheetWindow();
}

QPlainTextEdit* TTvrMainWindow::TotProgressMemo() const
{
    return FTotProgressMemo;
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
        const QString Caption = FromView(Table.Info->Caption);
        Table.ActSelect = Make(Caption + QStringLiteral("を選択"));
        Table.ActClip = Make(Caption + QStringLiteral("をクリップから作成"));
    }
    FActTotExec = Make(QStringLiteral("集計データ作成・表示"));
    FActYearEnd = Make(QStringLiteral("総会資料を作成..."));
    FActNextYear = Make(QStringLiteral("次年度のソースデータを作成..."));
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
    // The year-end steps after the run, in their order.
    FMenuPopupMenu->addAction(FActYearEnd);
    FMenuPopupMenu->addAction(FActNextYear);
    FMenuPopupMenu->addSeparator();
    FMenuPopupMenu->addAction(FActHelpOpenFolder);
    FMenuPopupMenu->addAction(FActHelpVersion);
    FMenuPopupMenu->addSeparator();
    FMenuPopupMenu->addAction(FActExit);
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
    FSrcLocationHistory = new TTvrSrcLocationHistory(FSrcLocationComboBox);
    FSrcLocationComboBox->setModel(FSrcLocationHistory);
    FSrcLocationComboBox->setGeometry(138, 92 - 3, 391, 25);
    FSrcLocationComboBox->setMaxVisibleItems(10);
    FSrcLocationLabel->setBuddy(FSrcLocationComboBox);
    connect(FSrcLocationComboBox, &QComboBox::activated, this, [this](int AIndex) { SrcLocationComboBoxChange(AIndex); });
    SetControlDoubleClick(FSrcLocationComboBox, [this] { ActionExecute(FActSrcLocation); });
    FSrcLocationComboBox->view()->installEventFilter(this);

    // One row a table, 28 pixels apart: its caption, its file box and its
    // "作成..." button.
    QWidget* Previous = FSrcLocationComboBox;
    int Top = 126;
    for (TSrcTable& Table : FSrcTables) {
        QLabel* Caption = Label(Client, FromView(Table.Info->Caption) + QStringLiteral(" :"), 20, Top);
        auto* Combo = new TTvrOwnerDrawComboBox(
            Client, [this, &Table](QPainter& ACanvas, int AIndex, const QRect& ARect, QStyle::State AState,
                                   bool AListOpen) {
                SrcComboBoxDrawItem(Table.ComboBox, ACanvas, AIndex, ARect, AState, AListOpen);
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
        Top += 28;
    }

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
    FTotProgressMemo = new TTvrLogView(Client);
    FTotProgressMemo->setGeometry(20, 370, 509, 245);
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
    if (ShowMessageBox(nmkNotice, QStringLiteral("%1 を終了します。"), {qEnvironmentVariable(kAppSystemName)},
                       nmbOkCancel)
        != nmaOk) {
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
    // Both run the aggregation, and need what it needs.
    FActYearEnd->setEnabled(Ready);
    FActNextYear->setEnabled(Ready);
    // The viewer shows only the sheets of the sources chosen.
    FRun->HideSheetWindow();
}

void TTvrMainWindow::SrcComboBoxStatusChange()
{
    FTotProgressMemo->Clear();
    StatusChange();
}


QString TTvrMainWindow::SrcFileItemText(int AIndex) const
{
    // The not-used item comes after the files.
    if (AIndex < 0 || static_cast<size_t>(AIndex) >= FSrcFiles.size())
        return QString();
    const TTvrMainSrcFiles& File = FSrcFiles[static_cast<size_t>(AIndex)];
    if (!File.TimeKnown)
        return QStringLiteral("%1  (日時不明)").arg(File.DisplayName);
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
    return QStringLiteral("%1  %2 (%3)").arg(File.DisplayName, DateText, File.FileDaysString);
}

void TTvrMainWindow::SrcComboBoxDrawItem(TTvrOwnerDrawComboBox* AControl, QPainter& ACanvas, int AIndex,
                                         const QRect& ARect, QStyle::State AState, bool AListOpen)
{
    AControl->SetItemColours(ACanvas, AState, AListOpen);
    const QString Name = AControl->itemText(AIndex);
    if (!Name.isEmpty() && static_cast<size_t>(AIndex) < FSrcFiles.size()) {
        TNbGlyphText Glyph;
        Glyph.Initialize(&ACanvas);
        if (!AControl->isEnabled())
            Glyph.FDrawingStyle = ngtdsDisabled;
        Glyph.Draw(ARect, PathDisplay(FSrcFiles[static_cast<size_t>(AIndex)].FileName), SrcFileItemText(AIndex));
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
    Control->SetItemColours(ACanvas, AState, AListOpen);
    TNbGlyphText Glyph;
    Glyph.Initialize(&ACanvas);
    Glyph.Draw(ARect, Folder, AIndex < FSrcLocationHistory->rowCount() ? FSrcLocationHistory->DisplayName(AIndex) : Folder);
    ResetControlCanvas(ACanvas, *Control);
}

void TTvrMainWindow::SrcLocationComboBoxChange(int AIndex)
{
    if (AIndex < 0)
        return;
    ChangeSrcPath(FromByteArray(FSrcLocationComboBox->itemData(AIndex, TTvrSrcLocationHistory::FolderRole).toByteArray()),
                  false);
}

bool TTvrMainWindow::SrcLocationComboBoxKeyDown(QKeyEvent* AEvent)
{
    if (AEvent->key() != Qt::Key_Delete
        || (AEvent->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)))
        return false;
    if (!FSrcLocationComboBox->ListOpen())
        return false;
    // The current location, the first entry, stays.
    const int Highlighted = FSrcLocationComboBox->view()->currentIndex().row();
    if (Highlighted <= 0)
        return true;
    {
        const QSignalBlocker Blocker(FSrcLocationComboBox);
        FSrcLocationHistory->Remove(Highlighted);
        FSrcLocationComboBox->setCurrentIndex(0);
    }
    FSrcLocationComboBox->update();
    Remember([this](TTvrConfig& AConfig) { FSrcLocationHistory->Save(AConfig); });
    return true;
}

void TTvrMainWindow::SelectSrcFile(QComboBox* ACombo, const std::optional<std::string>& AName, const QString& AKeyword)
{
    // The name as written first: a folder on Linux may hold both a.csv and
    // A.CSV, and the one remembered is the one meant.
    int Found = AName ? ACombo->findData(ToByteArray(*AName), kFileNameRole, Qt::MatchExactly) : -1;
    if (AName && Found < 0 && !AName->empty())
        Found = ACombo->findText(FileNameDisplay(*AName), Qt::MatchFixedString);
    for (int I = 0; I < ACombo->count() && Found < 0; ++I)
        if (ACombo->itemText(I).contains(AKeyword, Qt::CaseSensitive))
            Found = I;
    ACombo->setCurrentIndex(Found);
}

void TTvrMainWindow::UpdateSrcComboBoxes(bool AFromConfig)
{
    const bool Usable = FolderExists(FSrcPath);
    // The names to choose again. A box without a choice, or a key never
    // written, names nothing: then the keyword decides. The empty name is the
    // not-used item, chosen on purpose and kept.
    std::vector<std::optional<std::string>> Names;
    for (const TSrcTable& Table : FSrcTables) {
        if (AFromConfig) {
            const std::optional<QString> Value = Config().FindString(Table.ConfigKey);
            Names.push_back(Value ? std::optional<std::string>(TTvrConfig::PathBytes(*Value)) : std::nullopt);
        } else {
            Names.push_back(Table.ComboBox->currentIndex() >= 0 ? std::optional<std::string>(SrcFileName(Table.Info->Kind))
                                                                : std::nullopt);
        }
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
        try {
            const TTvrDate Today = TTvrSheetWindow::CurrentDate();
            for (const std::string& Name : ListSrcFolder(FSrcPath)) {
                TTvrMainSrcFiles File;
                File.FileName = FSrcPath + Name;
                File.DisplayName = FileNameDisplay(Name);
                // The operating system's message when the file went away
                // since the listing.
                File.TimeKnown = TryFileModificationTime(File.FileName, File.FileTimeStamp);
                if (File.TimeKnown) {
                    std::string Age;
                    DateAgeText(File.FileTimeStamp.DateOnly(), Today, File.FileDays, Age);
                    File.FileDaysString = QString::fromStdString(Age);
                }
                Files.push_back(std::move(File));
            }
        } catch (const std::exception& E) {
            Files.clear();
            ShowErrorMessage(E);
        }
        FSrcFiles = std::move(Files);
        for (size_t I = 0; I < FSrcTables.size(); ++I) {
            TSrcTable& Table = FSrcTables[I];
            for (const TTvrMainSrcFiles& File : FSrcFiles)
                Table.ComboBox->addItem(File.DisplayName, ToByteArray(ExtractFileName(File.FileName)));
            if (Table.Info->Optional)
                Table.ComboBox->addItem(QString(), QByteArray());
            SelectSrcFile(Table.ComboBox, Names[I], FromView(Table.Info->Keyword));
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
    FTotProgressMemo->Clear();
    FRun->HideSheetWindow();
}

void TTvrMainWindow::SetSrcPath(const std::string& APath)
{
    FSrcPath = APath;
    const QSignalBlocker Blocker(FSrcLocationComboBox);
    FSrcLocationHistory->MoveToTop(APath);
    FSrcLocationComboBox->setCurrentIndex(0);
    FSrcLocationComboBox->setToolTip(PathFullDisplayName(PathDisplay(APath)));
    FSrcLocationComboBox->update();
    Remember([this](TTvrConfig& AConfig) { FSrcLocationHistory->Save(AConfig); });
}

void TTvrMainWindow::ChangeSrcPath(const std::string& APath, bool AFromConfig)
{
    SetSrcPath(APath);
    UpdateSrcComboBoxes(AFromConfig);
    StatusChange();
}

void TTvrMainWindow::TotProgressSendMessage(const std::string& AMessage)
{
    FTotProgressMemo->Append(AMessage);
}

bool TTvrMainWindow::OpenSrcLocation(const std::string& AFolder)
{
    struct stat St {};
    if (::stat(AFolder.c_str(), &St) != 0) {
        ShowMessageBox(nmkWarning, QStringLiteral("フォルダ \"%1\" が見つかりません。"), {PathDisplay(AFolder)});
        return false;
    }
    if (!S_ISDIR(St.st_mode)) {
        ShowMessageBox(nmkWarning, QStringLiteral("\"%1\" はフォルダではありません。"), {PathDisplay(AFolder)});
        return false;
    }
    ChangeSrcPath(ExpandFolderBytes(AFolder), true);
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
        // Qt's picker speaks in UTF-8 names; the folder it names is found
        // again as bytes.
        QString Path = QFile::decodeName(ToByteArray(FSrcPath));
        if (!SelectFolder(QStringLiteral("ソースデータの場所を指定してください。\n\n") + FSrcLocationLabel->text(), Path,
                          this))
            return;
        ChangeSrcPath(LocalPathBytes(Path), false);
    } else if (ASender == FActTotExec) {
        TRptYearEndRequest BooksOnly;
        BooksOnly.Params = YearEndParams();
        RunSources(std::move(BooksOnly));
    } else if (ASender == FActYearEnd) {
        ActYearEndExecute();
    } else if (ASender == FActNextYear) {
        ActNextYearExecute();
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
        Params.DataName = FromView(Table->Info->Caption);
        Params.FileName = FSrcPath + std::string(Table->Info->FileName);
        Params.FieldDefs = Table->Info->FieldDefs;
        Params.Settings = FSettings;
        if (!ExecuteMksrcDialog(Params))
            return;
        UpdateSrcComboBoxes(false);
        SelectSrcFile(Table->ComboBox, std::string(Table->Info->FileName), FromView(Table->Info->FileName));
        StatusChange();
    }
}

// ---------------------------------------------------------------- the year-end

bool TTvrMainWindow::RunSources(TRptYearEndRequest AYearEnd)
{
    TTvrRunSources Sources;
    Sources.Folder = FSrcPath;
    TTvrConfig::TKeyValues Remembered;
    for (const TSrcTableKind Kind : kSrcTableKinds) {
        Sources.FileName(Kind) = SrcFileName(Kind);
        Remembered.emplace_back(SrcTable(Kind).ConfigKey, TTvrConfig::PathValue(Sources.FileName(Kind)));
    }
    // The choice is remembered before the run reads it, in one write; a
    // configuration that cannot be written does not stop the run.
    return FRun->Run(
        Sources,
        [Remembered] { Remember([&Remembered](TTvrConfig& AConfig) { AConfig.WriteStrings(Remembered); }); },
        std::move(AYearEnd));
}

TRptParams TTvrMainWindow::YearEndParams() const
{
    std::optional<TRptParams> Params;
    if (HasConfig())
        Params = ReadYearEndParams(Config(), FSrcPath);
    return Params.value_or(TRptParams());
}

void TTvrMainWindow::ActYearEndExecute()
{
    TTvrYearEndDialog Dialog(YearEndParams(), FSettings, TTvrSheetWindow::CurrentDate(), this);
    if (Dialog.exec() != QDialog::Accepted)
        return;
    TRptYearEndRequest YearEnd;
    YearEnd.Params = Dialog.Params();
    // Remembered for the location before the run, as its files are.
    Remember([this, &YearEnd](TTvrConfig& AConfig) { WriteYearEndParams(AConfig, FSrcPath, YearEnd.Params); });
    YearEnd.Documents = true;
    YearEnd.YearEndPdf = true;
    YearEnd.YearEndPdfMaker = WriteYearEndPdf;
    const std::string Pdf = TTvrRunController::OutputFolderOf({FSrcPath, {}}) + kYearEndPdfName;
    if (!RunSources(std::move(YearEnd)))
        return;
    try {
        OpenWithShell(QFile::decodeName(ToByteArray(Pdf)));
    } catch (const std::exception& E) {
        ShowErrorMessage(E);
    }
}

void TTvrMainWindow::ActNextYearExecute()
{
    // A new folder beside the location, named after the next period as the
    // cash-book table's starting row gives it (2026年度), is made for the
    // picker to propose; it goes again unless the tables are written into
    // it (only an empty folder is removed).
    const std::string Name = NextYearFolderName(FSrcPath + SrcFileName(TSrcTableKind::Kinsen), FSettings);
    std::string Proposed = ParentFolder(FSrcPath);
    bool Made = false;
    if (!Name.empty()) {
        Proposed += Name + '/';
        Made = ::mkdir(Proposed.c_str(), 0777) == 0;
    }
    const auto Tidy = qScopeGuard([&] {
        if (Made)
            ::rmdir(Proposed.c_str());
    });

    QString Path = QFile::decodeName(ToByteArray(Proposed));
    if (!SelectFolder(QStringLiteral("次年度のソースデータを作成するフォルダを指定してください。\n\n"
                                     "今年度の帳簿の残高を繰り越した4つのソースデータをこのフォルダに作成します。"),
                      Path, this))
        return;
    const std::string Folder = WithoutTrailingSlashes(LocalPathBytes(Path));
    // A folder that already holds source data is refused before the run,
    // with the engine's own words.
    try {
        CheckNextYearFolder(Folder);
    } catch (const std::exception& E) {
        ShowErrorMessage(E);
        return;
    }
    TRptYearEndRequest YearEnd;
    YearEnd.Params = YearEndParams();
    YearEnd.NextYearFolder = Folder;
    if (!RunSources(std::move(YearEnd)))
        return;
    if (ShowMessageBox(nmkQuestion,
                       QStringLiteral("次年度のソースデータをフォルダ \"%1\" に作成しました。\n\n"
                                      "このフォルダをソースデータの場所にしますか？"),
                       {PathDisplay(Folder)}, nmbYesNo)
        == nmaYes)
        ChangeSrcPath(ExpandFolderBytes(Folder), false);
}

} // namespace tavrel
