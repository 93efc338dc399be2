// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrSheetWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDate>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "print/PrtSheets.h"
#include "print/PrtTexts.h"
#include "shell/NbCellText.h"
#include "shell/NbFileNames.h"
#include "tables/TvrCsv.h"
#include "shell/NbFonts.h"
#include "shell/NbGlyphText.h"
#include "shell/NbHints.h"
#include "shell/NbMessageBox.h"
#include "shell/NbOverrideCursor.h"
#include "shell/TvrConfig.h"
#include "shell/TvrEnvironment.h"
#include "tables/TvrConvert.h"
#include "windows/TvrChartWindow.h"
#include "windows/TvrProgramIcon.h"
#include "windows/TvrGridParts.h"
#include "windows/TvrWindowState.h"

namespace tavrel {

namespace {

QString FromStd(const std::string& AText)
{
    return QString::fromStdString(AText);
}

// The viewer keeps its place, and the width of its sheet list.
TTvrWindowState SheetWindowState()
{
    return TTvrWindowState(QStringLiteral("Sheet."), true);
}

const QString kListWidthKey = QStringLiteral("Sheet.ListWidth");
constexpr int32_t kListWidth = 250;

QString FileNameOnly(const TTvrSheet& ASheet)
{
    return FileNameDisplay(ExtractFileName(ASheet.FileName()));
}

// The sheet list's items: the file's small icon and name with its age, bold
// for an output book.
class TTvrListDelegate : public QStyledItemDelegate {
public:
    TTvrListDelegate(const std::vector<TTvrSheetInfo>& AInfos, QListWidget* AList)
        : QStyledItemDelegate(AList), FInfos(AInfos), FList(AList)
    {
    }

    void paint(QPainter* APainter, const QStyleOptionViewItem& AOption, const QModelIndex& AIndex) const override
    {
        const size_t Row = static_cast<size_t>(AIndex.row());
        if (Row >= FInfos.size())
            return;
        APainter->save();
        const TTvrSheetInfo& Info = FInfos[Row];
        const bool Selected = AOption.state & QStyle::State_Selected;
        QFont Font = FList->font();
        Font.setBold(Info.Output);
        APainter->setFont(Font);
        APainter->setBrush(AOption.palette.brush(Selected ? QPalette::Highlight : QPalette::Base));
        APainter->setPen(AOption.palette.color(Selected ? QPalette::HighlightedText : QPalette::Text));
        const QString Path = AIndex.data(Qt::UserRole).toString();
        const QString Text = AIndex.data(Qt::DisplayRole).toString() + QStringLiteral("  (%1)").arg(Info.DateInfo2);
        TNbGlyphText GlyphText;
        GlyphText.Initialize(APainter);
        GlyphText.Draw(AOption.rect, Path, Text);
        ResetControlCanvas(*APainter, *FList);
        APainter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(FList->viewport()->width(), RowHeightForFont(FList->font(), 10));
    }

private:
    const std::vector<TTvrSheetInfo>& FInfos;
    QListWidget* FList;
};

} // namespace

void SheetDateInfo(TTvrDate AFileTime, TTvrDate AToday, TTvrSheetInfo& AInfo)
{
    int32_t Days = 0;
    std::string AgeText;
    DateAgeText(AFileTime.DateOnly(), AToday.DateOnly(), Days, AgeText);
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0;
    AFileTime.Decode(Year, Month, Day);
    AFileTime.DecodeTime(Hour, Minute);
    const QString Time = QStringLiteral("%1:%2").arg(Hour, 2, 10, QLatin1Char('0')).arg(Minute, 2, 10, QLatin1Char('0'));
    const QString Age = FromStd(AgeText);
    AInfo.IsToday = Days == 0;
    if (AInfo.IsToday) {
        AInfo.DateInfo1 = QStringLiteral("%1 (%2)").arg(Time, Age);
    } else {
        const QString Date = QStringLiteral("%1-%2-%3")
                                 .arg(Year, 4, 10, QLatin1Char('0'))
                                 .arg(Month, 2, 10, QLatin1Char('0'))
                                 .arg(Day, 2, 10, QLatin1Char('0'));
        AInfo.DateInfo1 = QStringLiteral("%1 %2 (%3)").arg(Date, Time, Age);
    }
    AInfo.DateInfo2 = Age;
}

// ---------------------------------------------------------------- grid

TTvrSheetGrid::TTvrSheetGrid(TTvrSheetWindow* AWindow, const TTvrRegionalSettings& ASettings, QWidget* AParent)
    : QTableView(AParent), FWindow(AWindow), FModel(new TTvrSheetModel(ASettings, this))
{
    // No focus frame in row mode, where the whole row is the selection.
    SetupGrid(this, FModel, new TTvrGridCellDelegate(this, {}, [AWindow] { return !AWindow->RowMode(); }));
    // A rectangle of cells is copied at once.
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setContextMenuPolicy(Qt::CustomContextMenu);
}

void TTvrSheetGrid::keyPressEvent(QKeyEvent* AEvent)
{
    if (FWindow->GridKeyDown(this, AEvent))
        return;
    QTableView::keyPressEvent(AEvent);
}

void TTvrSheetGrid::mouseDoubleClickEvent(QMouseEvent* AEvent)
{
    FWindow->GridDblClick(this, AEvent->position().toPoint());
    AEvent->accept();
}

// ---------------------------------------------------------------- window

TTvrSheetWindow::TTvrSheetWindow(const TTvrSheets& AInputs, const TTvrSheets& AOutputs,
                                 const TTvrRegionalSettings& ASettings, TTvrDate AToday)
    : FSettings(ASettings)
{
    setObjectName(QStringLiteral("TvrSheetWindow"));
    setWindowTitle(QStringLiteral("集計データビュー"));
    setWindowIcon(ProgramIcon());
    // The font of the whole window: "メイリオ" 12 pixels high.
    setFont(MeiryoFont(12));

    // The window where it was left (not centred), and the width of its list.
    const int32_t Width = SheetWindowState().Restore(*this).Geometry.width();
    const int32_t ListWidth = HasConfig() ? Config().ReadInteger(kListWidthKey, kListWidth) : kListWidth;

    // The actions and the popup menu.
    FActSelectAll = MakeGridAction(this, "ActSelectAll", QStringLiteral("すべて選択"), QKeySequence(Qt::CTRL | Qt::Key_A));
    FActCopy = MakeGridAction(this, "ActCopy", QStringLiteral("コピー"), QKeySequence(Qt::CTRL | Qt::Key_C));
    FActRowSelect = MakeGridAction(this, "ActRowSelect", QStringLiteral("行選択"), QKeySequence(Qt::CTRL | Qt::Key_R));
    FActRowSelect->setCheckable(true);
    connect(FActSelectAll, &QAction::triggered, this, [this] { ActSelectAllExecute(); });
    connect(FActCopy, &QAction::triggered, this, [this] { ActCopyExecute(); });
    // The action flips its checked state itself; the handler follows it.
    connect(FActRowSelect, &QAction::triggered, this, [this] {
        FActRowSelect->setChecked(!FActRowSelect->isChecked());
        ActRowSelectExecute();
    });
    // Printing and the charts, after the three commands of the grid.
    FActPrint = MakePrintAction(this);
    FActPdfSave = MakePdfSaveAction(this);
    FActChart = MakeGridAction(this, "ActChart", QStringLiteral("グラフ"), QKeySequence());
    FActChart->setEnabled(false);
    connect(FActPrint, &QAction::triggered, this, [this] { ActPrintExecute(); });
    connect(FActPdfSave, &QAction::triggered, this, [this] { ActPdfSaveExecute(); });
    connect(FActChart, &QAction::triggered, this, [this] { ActChartExecute(); });
    FPopupMenu = new QMenu(this);
    FPopupMenu->setObjectName(QStringLiteral("PopupMenu"));
    FPopupMenu->addAction(FActSelectAll);
    FPopupMenu->addSeparator();
    FPopupMenu->addAction(FActCopy);
    FPopupMenu->addSeparator();
    FPopupMenu->addAction(FActRowSelect);

    auto* Central = new QWidget(this);
    auto* CentralLayout = new QVBoxLayout(Central);
    CentralLayout->setContentsMargins(0, 0, 0, 0);
    CentralLayout->setSpacing(0);
    setCentralWidget(Central);

    // The tool bar: a button for each command.
    auto* IcPanel = MakeGridPanel(Central, "IcPanel", QFrame::NoFrame);
    IcPanel->setFixedHeight(33);
    MakeToolBarButton(IcPanel, "IcSelectAllSpeedButton", FActSelectAll, 0);
    MakeToolBarButton(IcPanel, "IcCopySpeedButton", FActCopy, 1);
    MakeToolBarButton(IcPanel, "IcRowSelectSpeedButton", FActRowSelect, 2);
    MakeToolBarButton(IcPanel, "IcPrintSpeedButton", FActPrint, 3);
    MakeToolBarButton(IcPanel, "IcPdfSaveSpeedButton", FActPdfSave, 4);
    MakeToolBarButton(IcPanel, "IcChartSpeedButton", FActChart, 5);
    CentralLayout->addWidget(IcPanel);

    auto* Splitter1 = new QSplitter(Qt::Horizontal, Central);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(4);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->setOpaqueResize(true);
    CentralLayout->addWidget(Splitter1, 1);

    // The sheet list with its header.
    FLsPanel = MakeGridPanel(Splitter1, "LsPanel", QFrame::StyledPanel);
    FLsPanel->setMinimumWidth(100);
    auto* LsLayout = new QVBoxLayout(FLsPanel);
    LsLayout->setContentsMargins(1, 0, 0, 1);
    LsLayout->setSpacing(0);
    auto* LsHeadPanel = new QLabel(QStringLiteral(" シート一覧"), FLsPanel);
    LsHeadPanel->setObjectName(QStringLiteral("LsHeadPanel"));
    LsHeadPanel->setFixedHeight(26);
    LsHeadPanel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    LsHeadPanel->setFrameShape(QFrame::StyledPanel);
    LsLayout->addWidget(LsHeadPanel);
    FLsListListBox = new QListWidget(FLsPanel);
    FLsListListBox->setObjectName(QStringLiteral("LsListListBox"));
    FLsListListBox->setUniformItemSizes(true);
    FLsListListBox->setItemDelegate(new TTvrListDelegate(FSheetInfos, FLsListListBox));
    FLsListListBox->setFrameShape(QFrame::NoFrame);
    FLsListListBox->installEventFilter(this);
    LsLayout->addWidget(FLsListListBox, 1);
    connect(FLsListListBox, &QListWidget::currentRowChanged, this, [this](int) { LsListListBoxClick(); });

    // The grid area: the header picture above the two grids in one place.
    auto* ViPanel = MakeGridPanel(Splitter1, "ViPanel", QFrame::StyledPanel);
    ViPanel->setMinimumWidth(100);
    auto* ViLayout = new QVBoxLayout(ViPanel);
    ViLayout->setContentsMargins(1, 0, 1, 1);
    ViLayout->setSpacing(0);
    FViHeadPanel = MakeGridPanel(ViPanel, "ViHeadPanel", QFrame::NoFrame);
    FViHeadPanel->setFixedHeight(26);
    FViHeadPanel->installEventFilter(this);
    FViHeadImage = new QLabel(FViHeadPanel);
    FViHeadImage->setObjectName(QStringLiteral("ViHeadImage"));
    FViHeadImage->setAttribute(Qt::WA_TranslucentBackground);
    ViLayout->addWidget(FViHeadPanel);
    auto* GridArea = new QWidget(ViPanel);
    auto* GridLayout = new QGridLayout(GridArea);
    GridLayout->setContentsMargins(0, 0, 0, 0);
    FViSheetStringGrid1 = new TTvrSheetGrid(this, FSettings, GridArea);
    FViSheetStringGrid1->setObjectName(QStringLiteral("ViSheetStringGrid1"));
    FViSheetStringGrid2 = new TTvrSheetGrid(this, FSettings, GridArea);
    FViSheetStringGrid2->setObjectName(QStringLiteral("ViSheetStringGrid2"));
    for (TTvrSheetGrid* Grid : {FViSheetStringGrid1, FViSheetStringGrid2}) {
        GridLayout->addWidget(Grid, 0, 0);
        Grid->installEventFilter(this);
        connect(Grid, &QWidget::customContextMenuRequested, this,
                [this, Grid](const QPoint& APos) { FPopupMenu->popup(Grid->viewport()->mapToGlobal(APos)); });
    }
    FViSheetStringGrid2->hide();
    FViSheetStringGrid = FViSheetStringGrid1;
    ViLayout->addWidget(GridArea, 1);

    Splitter1->addWidget(FLsPanel);
    Splitter1->addWidget(ViPanel);
    Splitter1->setStretchFactor(0, 0);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({ListWidth, std::max(100, Width - ListWidth - 4)});
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] { FLsListListBox->viewport()->update(); });

    // Each list item and grid cell its own hint, where it adds something.
    const TNbGetItemHint Hint = [this](QWidget* ASender, const QModelIndex& AParam) {
        return GetItemHint(ASender, AParam);
    };
    new TNbItemHint(FLsListListBox, Hint);
    new TNbItemHint(FViSheetStringGrid1, Hint);
    new TNbItemHint(FViSheetStringGrid2, Hint);

    Setup(AInputs, AOutputs, AToday);
}

TTvrSheetWindow::~TTvrSheetWindow()
{
    FChartWindow.reset();
    SheetWindowState().Save(*this, {{kListWidthKey, QString::number(FLsPanel->width())}});
}

TTvrDate TTvrSheetWindow::CurrentDate()
{
    const QDate Today = QDate::currentDate();
    return TTvrDate::Encode(Today.year(), Today.month(), Today.day());
}

const TTvrSheet* TTvrSheetWindow::SheetAt(int32_t AIndex) const
{
    return AIndex >= 0 && static_cast<size_t>(AIndex) < FSheets.size() ? FSheets[static_cast<size_t>(AIndex)] : nullptr;
}

TTvrSheetGrid* TTvrSheetWindow::HiddenGrid() const
{
    return FViSheetStringGrid == FViSheetStringGrid1 ? FViSheetStringGrid2 : FViSheetStringGrid1;
}

void TTvrSheetWindow::Setup(const TTvrSheets& AInputs, const TTvrSheets& AOutputs, TTvrDate AToday)
{
    // The grid on screen stays the visible one: naming the first grid visible
    // while the second is on screen would fill the grid the user watches.
    FSheet = nullptr;
    FSheetIndex = -1;
    FSheets.clear();
    for (int I = 0; I < AInputs.Count(); ++I)
        FSheets.push_back(&AInputs.Sheets(I));
    for (int I = 0; I < AOutputs.Count(); ++I)
        FSheets.push_back(&AOutputs.Sheets(I));
    FSheetInfos.assign(FSheets.size(), TTvrSheetInfo());
    for (size_t I = 0; I < FSheets.size(); ++I) {
        TTvrSheetInfo& Info = FSheetInfos[I];
        Info.Output = static_cast<int>(I) >= AInputs.Count();
        SheetDateInfo(FSheets[I]->FileTimeStamp(), AToday, Info);
    }

    const QSignalBlocker Blocker(FLsListListBox);
    FLsListListBox->clear();
    for (const TTvrSheet* Sheet : FSheets) {
        auto* Item = new QListWidgetItem(FileNameOnly(*Sheet), FLsListListBox);
        Item->setData(Qt::UserRole, PathDisplay(Sheet->FileName()));
    }
    if (FSheets.empty())
        return;
    const int Selected = AOutputs.Count() > 0 ? AInputs.Count() : AInputs.Count() - 1;
    FLsListListBox->setCurrentRow(Selected);
    LsListListBoxClick();
    FViSheetStringGrid->setFocus();
}

void TTvrSheetWindow::LsListListBoxClick()
{
    const int32_t Selected = FLsListListBox->currentRow();
    const TTvrSheet* Sheet = SheetAt(Selected);
    if (!Sheet)
        return;
    // Where the sheet shown was left, for when it is chosen again.
    if (FSheetIndex >= 0 && static_cast<size_t>(FSheetIndex) < FSheetInfos.size()) {
        TTvrSheetInfo& Info = FSheetInfos[static_cast<size_t>(FSheetIndex)];
        const QModelIndex Current = FViSheetStringGrid->currentIndex();
        Info.PrevLeftCol = FViSheetStringGrid->horizontalScrollBar()->value();
        Info.PrevTopRow = FViSheetStringGrid->verticalScrollBar()->value();
        Info.PrevCol = Current.isValid() ? Current.column() : 0;
        Info.PrevRow = Current.isValid() ? Current.row() : 0;
    }
    const int32_t PreviousIndex = FSheetIndex;
    const TTvrSheet* PreviousSheet = FSheet;
    FSheetIndex = Selected;
    FSheet = Sheet;
    DrawHead();

    // The file read again, into the hidden grid's model, while the
    // other grid stays on screen.
    TTvrSheetGrid* Grid = HiddenGrid();
    try {
        const TNbOverrideCursor Wait;
        Grid->SheetModel()->Load(*Sheet);
    } catch (const std::exception& E) {
        // The grid on screen still shows the sheet it showed; so do the list
        // and the header, so that its place is not stored under another sheet.
        FSheetIndex = PreviousIndex;
        FSheet = PreviousSheet;
        {
            const QSignalBlocker Blocker(FLsListListBox);
            FLsListListBox->setCurrentRow(PreviousIndex);
        }
        DrawHead();
        ShowErrorMessage(E);
        return;
    }

    // The hidden grid becomes the visible one: enabled when the sheet has
    // lines, its columns as wide as the sheet's fields, its row numbers
    // wide enough, and row mode as the window has it.
    FViSheetStringGrid = Grid;
    const TTvrSheetModel* Model = Grid->SheetModel();
    Grid->setEnabled(!Model->IsEmpty());
    const int X = GridCharWidth(Grid->font());
    for (int C = 0; C < Model->FieldCount(); ++C)
        Grid->horizontalHeader()->resizeSection(C, Model->Values()->Fields().Fields(C).CharCount() * X);
    // A sheet longer than the row numbers' width holds widens the column so
    // that its last numbers are not cut off.
    const int NumberWidth = Grid->fontMetrics().horizontalAdvance(QString::number(Model->LineCount())) + 2 * 2 + 2;
    static_cast<TTvrGridHeader*>(Grid->verticalHeader())->SetFixedExtent(std::max(kGridRowNumberChars * X, NumberWidth));
    ApplyRowMode(Grid);

    // The current cell: the first data cell the first time, else where the
    // sheet was left.
    const TTvrSheetInfo& Info = FSheetInfos[static_cast<size_t>(FSheetIndex)];
    const bool Restore = Info.PrevCol >= 0;
    const int Rows = Model->rowCount();
    const int Cols = Model->columnCount();
    if (Rows > 0 && Cols > 0) {
        const QModelIndex Current = Restore ? Model->index(std::min(Info.PrevRow, Rows - 1), std::min(Info.PrevCol, Cols - 1))
                                            : Model->index(0, 0);
        QItemSelectionModel::SelectionFlags Flags = QItemSelectionModel::ClearAndSelect;
        if (RowMode())
            Flags |= QItemSelectionModel::Rows;
        Grid->selectionModel()->setCurrentIndex(Current, Flags);
    }

    // Shown only now, in front; then scrolled where it was left.
    ShowGrid(Grid);
    Grid->horizontalScrollBar()->setValue(Restore ? Info.PrevLeftCol : 0);
    Grid->verticalScrollBar()->setValue(Restore ? Info.PrevTopRow : 0);
}

void TTvrSheetWindow::ShowGrid(TTvrSheetGrid* AGrid)
{
    TTvrSheetGrid* Other = AGrid == FViSheetStringGrid1 ? FViSheetStringGrid2 : FViSheetStringGrid1;
    const bool HadFocus = Other->hasFocus();
    AGrid->setGeometry(Other->geometry());
    AGrid->show();
    AGrid->raise();
    Other->hide();
    if (HadFocus)
        AGrid->setFocus();
    AGrid->UpdateScrollRanges();
}

void TTvrSheetWindow::DrawHead()
{
    const QSize Size = FViHeadPanel->size();
    FViHeadImage->setGeometry(0, 0, Size.width(), Size.height());
    if (!FSheet || Size.isEmpty()) {
        FViHeadImage->clear();
        return;
    }
    const TTvrSheetInfo& Info = FSheetInfos[static_cast<size_t>(FSheetIndex)];
    const qreal Ratio = devicePixelRatioF();
    QPixmap Picture(Size * Ratio);
    Picture.setDevicePixelRatio(Ratio);
    Picture.fill(Qt::transparent);
    {
        QPainter Painter(&Picture);
        QFont Font = font();
        Font.setBold(Info.Output);
        Painter.setFont(Font);
        Painter.setPen(palette().color(QPalette::WindowText));
        Painter.setBrush(Qt::NoBrush);
        TNbGlyphText GlyphText;
        GlyphText.Initialize(FViHeadImage, &Painter);
        GlyphText.Draw(QRect(QPoint(0, 0), Size), PathDisplay(FSheet->FileName()),
                       FileNameOnly(*FSheet) + QStringLiteral("  ") + Info.DateInfo1);
    }
    FViHeadImage->setPixmap(Picture);
    FViHeadImage->update();
}

QString TTvrSheetWindow::GetItemHint(QWidget* ASender, const QModelIndex& AParam) const
{
    if (ASender == FLsListListBox) {
        const TTvrSheet* Sheet = SheetAt(AParam.isValid() ? AParam.row() : -1);
        if (!Sheet)
            return QString();
        return FileNameOnly(*Sheet) + QLatin1Char('\n') + FSheetInfos[static_cast<size_t>(AParam.row())].DateInfo1;
    }
    if (ASender == FViSheetStringGrid && AParam.isValid())
        return CellText(AParam.column(), AParam.row(), false);
    return QString();
}

QString TTvrSheetWindow::CellText(int32_t ACol, int32_t ARow, bool ACopy) const
{
    return FViSheetStringGrid->SheetModel()->CellText(ACol, ARow, ACopy);
}

bool TTvrSheetWindow::IsNumericCell(int32_t ACol, int32_t ARow) const
{
    return FViSheetStringGrid->SheetModel()->IsNumericCell(ACol, ARow);
}

void TTvrSheetWindow::ActSelectAllExecute()
{
    TTvrSheetGrid* Grid = FViSheetStringGrid;
    const TTvrSheetModel* Model = Grid->SheetModel();
    if (Model->IsEmpty() || Model->columnCount() == 0)
        return;
    Grid->selectionModel()->select(
        QItemSelection(Model->index(0, 0), Model->index(Model->rowCount() - 1, Model->columnCount() - 1)),
        QItemSelectionModel::ClearAndSelect);
}

void TTvrSheetWindow::ActCopyExecute()
{
    TTvrSheetGrid* Grid = FViSheetStringGrid;
    const TTvrSheetModel* Model = Grid->SheetModel();
    const QItemSelection Selection = Grid->selectionModel()->selection();
    if (Model->IsEmpty() || Selection.isEmpty())
        return;
    // The grid's selection is one rectangle; its bounds are taken as a whole.
    int Top = Model->rowCount(), Bottom = -1, Left = Model->columnCount(), Right = -1;
    for (const QItemSelectionRange& Range : Selection) {
        Top = std::min(Top, Range.top());
        Bottom = std::max(Bottom, Range.bottom());
        Left = std::min(Left, Range.left());
        Right = std::max(Right, Range.right());
    }
    QString Text;
    for (int R = Top; R <= Bottom; ++R) {
        if (R > Top)
            Text += QStringLiteral("\r\n");
        for (int C = Left; C <= Right; ++C) {
            if (C > Left)
                Text += QLatin1Char('\t');
            Text += Model->CellText(C, R, true);
        }
    }
    QApplication::clipboard()->setText(Text);
}

bool TTvrSheetWindow::RowMode() const
{
    return FActRowSelect->isChecked();
}

void TTvrSheetWindow::ApplyRowMode(TTvrSheetGrid* AGrid)
{
    AGrid->setSelectionBehavior(RowMode() ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
}

void TTvrSheetWindow::ActRowSelectExecute(std::optional<QPoint> APointerPos)
{
    // The tool button follows the checked state of its action.
    FActRowSelect->setChecked(!FActRowSelect->isChecked());
    TTvrSheetGrid* Grid = FViSheetStringGrid;
    const TTvrSheetModel* Model = Grid->SheetModel();
    ApplyRowMode(FViSheetStringGrid1);
    ApplyRowMode(FViSheetStringGrid2);
    if (Model->IsEmpty() || Model->columnCount() == 0)
        return;
    QModelIndex Current = Grid->currentIndex();
    if (!Current.isValid())
        Current = Model->index(0, 0);
    if (RowMode()) {
        // The current row from the current column to the last.
        Grid->selectionModel()->select(
            QItemSelection(Current, Model->index(Current.row(), Model->columnCount() - 1)),
            QItemSelectionModel::ClearAndSelect);
    } else {
        // To the data cell under the pointer, then the current cell alone.
        const QPoint Pos = APointerPos ? *APointerPos : Grid->viewport()->mapFromGlobal(QCursor::pos());
        if (Grid->viewport()->rect().contains(Pos)) {
            const QModelIndex Under = Grid->indexAt(Pos);
            if (Under.isValid())
                Current = Under;
        }
        Grid->selectionModel()->setCurrentIndex(Current, QItemSelectionModel::ClearAndSelect);
    }
    Grid->viewport()->update();
}

bool TTvrSheetWindow::GridKeyDown(TTvrSheetGrid* AGrid, QKeyEvent* AEvent)
{
    // The grid would copy only its current cell and select all cells by
    // itself; the window's actions do it as the tool bar does.
    if (AEvent->matches(QKeySequence::Copy)) {
        FActCopy->trigger();
        return true;
    }
    if (AEvent->matches(QKeySequence::SelectAll)) {
        FActSelectAll->trigger();
        return true;
    }
    if (!RowMode() || AGrid != FViSheetStringGrid)
        return false;
    QScrollBar* Bar = AGrid->horizontalScrollBar();
    switch (AEvent->key()) {
    case Qt::Key_Left:
        if (Bar->value() > 0)
            Bar->setValue(Bar->value() - 1);
        return true;
    case Qt::Key_Right:
        if (Bar->value() < Bar->maximum())
            Bar->setValue(Bar->value() + 1);
        return true;
    default:
        return false;
    }
}

void TTvrSheetWindow::GridDblClick(TTvrSheetGrid* AGrid, const QPoint& APos)
{
    if (AGrid == FViSheetStringGrid)
        ActRowSelectExecute(APos);
}

void TTvrSheetWindow::keyPressEvent(QKeyEvent* AEvent)
{
    if (AEvent->key() == Qt::Key_Escape && AEvent->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    TTvrTaskBarWindow::keyPressEvent(AEvent);
}

bool TTvrSheetWindow::eventFilter(QObject* AWatched, QEvent* AEvent)
{
    if (AWatched == FViHeadPanel && AEvent->type() == QEvent::Resize)
        DrawHead();
    // The window sees Esc before its controls.
    if (AEvent->type() == QEvent::KeyPress) {
        auto* Key = static_cast<QKeyEvent*>(AEvent);
        if (Key->key() == Qt::Key_Escape && Key->modifiers() == Qt::NoModifier) {
            close();
            return true;
        }
    }
    return TTvrTaskBarWindow::eventFilter(AWatched, AEvent);
}

// ---------------------------------------------------------------- printing and charts

void TTvrSheetWindow::SetYear(TTvrSheetYear AYear)
{
    FYear = std::move(AYear);
    FActChart->setEnabled(FYear.Charts.has_value());
    if (!FChartWindow)
        return;
    if (FYear.Charts)
        FChartWindow->SetYear(FYear);
    else
        FChartWindow->hide();
}

std::optional<TTvrPrintout> TTvrSheetWindow::Printout() const
{
    // The sheet as the grid on screen shows it, read from its file when it
    // was chosen.
    const TTvrSheet* Sheet = FViSheetStringGrid->SheetModel()->Values();
    if (!Sheet)
        return std::nullopt;
    std::string Folder = FYear.OutputFolder;
    if (Folder.empty())
        Folder = std::filesystem::path(Sheet->FileName()).parent_path().string() + '/';
    const auto Paint = [Sheet, Header = FYear.Header, Settings = FSettings](QPagedPaintDevice& ADevice) {
        const TTvrSheet* const Sheets[] = {Sheet};
        return PaintSheets(ADevice, Sheets, Header, Settings, CurrentDate());
    };
    const auto WritePdf = [Sheet, Header = FYear.Header, Settings = FSettings](const std::string& APath) {
        const TTvrSheet* const Sheets[] = {Sheet};
        WriteSheetsPdf(APath, Sheets, Header, Settings, CurrentDate());
    };
    return TTvrPrintout{SheetDisplayName(Sheet->FileName()), Folder, Paint, WritePdf};
}

void TTvrSheetWindow::ActPrintExecute()
{
    if (const std::optional<TTvrPrintout> Sheet = Printout())
        PrintWithPreview(*Sheet, this);
}

void TTvrSheetWindow::ActPdfSaveExecute()
{
    if (const std::optional<TTvrPrintout> Sheet = Printout())
        SavePrintoutPdf(*Sheet, this);
}

void TTvrSheetWindow::ActChartExecute()
{
    if (!FYear.Charts)
        return;
    if (!FChartWindow) {
        FChartWindow = std::make_unique<TTvrChartWindow>(FSettings);
        FChartWindow->SetYear(FYear);
    }
    if (FChartWindow->isMinimized())
        FChartWindow->showNormal();
    FChartWindow->show();
    FChartWindow->raise();
    FChartWindow->activateWindow();
}

void TTvrSheetWindow::hideEvent(QHideEvent* AEvent)
{
    // A window minimised is still open; one closed, or hidden for a new
    // run, takes its charts with it.
    if (!AEvent->spontaneous() && FChartWindow)
        FChartWindow->hide();
    TTvrTaskBarWindow::hideEvent(AEvent);
}

} // namespace tavrel
