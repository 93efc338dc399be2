// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "windows/TvrMksrcDialog.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "shell/NbFileNames.h"
#include "shell/NbFonts.h"
#include "shell/NbHints.h"
#include "shell/NbMessageBox.h"
#include "shell/NbOverrideCursor.h"
#include "shell/NbPaths.h"
#include "shell/TvrConfig.h"
#include "shell/TvrEnvironment.h"
#include "tables/TvrConvert.h"
#include "tables/TvrCsv.h"

#include "windows/TvrGridParts.h"
#include "windows/TvrWindowState.h"

namespace tavrel {

namespace {

// How long the wait cursor stays up before a save writes the file, in
// milliseconds, so that the user sees the save happen.
constexpr unsigned long kSavePauseMs = 500;

// The dialog keeps its size; it is always centred.
TTvrWindowState MksrcDialogState()
{
    return TTvrWindowState(QStringLiteral("Mksrc."), false);
}

bool IsNumericType(TTvrFieldType AType)
{
    return AType == sftInteger || AType == sftDouble;
}

// A non-empty cell must pass its column type's strict conversion.
bool IsCellTextValid(const QString& AText, TTvrFieldType AType, const TTvrRegionalSettings& ASettings)
{
    if (AText.isEmpty())
        return true;
    const std::string Text = AText.toStdString();
    switch (AType) {
    case sftInteger: {
        int32_t Value = 0;
        return TryTextToInteger(Text, ASettings, Value);
    }
    case sftDouble: {
        double Value = 0;
        return TryTextToFloat(Text, ASettings, Value);
    }
    case sftDate: {
        TTvrDate Value;
        return TryTextToDate(Text, ASettings, Value);
    }
    case sftString:
        break;
    }
    return true;
}

// The fields of a pasted line: cut at every tab; a tab at the very end adds
// nothing.
QStringList SplitTabs(const QString& ALine)
{
    QStringList Fields = ALine.split(QLatin1Char('\t'));
    if (Fields.size() > 1 && ALine.endsWith(QLatin1Char('\t')))
        Fields.removeLast();
    return Fields;
}

} // namespace

// ---------------------------------------------------------------- model

TTvrMksrcModel::TTvrMksrcModel(const TTvrFieldDefDynArray& AFieldDefs, QObject* AParent)
    : QAbstractTableModel(AParent), FFieldDefs(AFieldDefs)
{
}

int TTvrMksrcModel::rowCount(const QModelIndex& AParent) const
{
    return AParent.isValid() ? 0 : static_cast<int>(FRows.size());
}

int TTvrMksrcModel::columnCount(const QModelIndex& AParent) const
{
    return AParent.isValid() ? 0 : static_cast<int>(FFieldDefs.size());
}

QVariant TTvrMksrcModel::data(const QModelIndex& AIndex, int ARole) const
{
    if (!AIndex.isValid() || AIndex.row() >= rowCount() || AIndex.column() >= columnCount())
        return {};
    const TCell& Cell = FRows[static_cast<size_t>(AIndex.row())][static_cast<size_t>(AIndex.column())];
    switch (ARole) {
    case Qt::DisplayRole:
        return Cell.Text;
    case InvalidRole:
        return !Cell.Valid;
    case kGridNumericRole:
        return IsNumericType(FFieldDefs[static_cast<size_t>(AIndex.column())].FieldType);
    default:
        return {};
    }
}

QVariant TTvrMksrcModel::headerData(int ASection, Qt::Orientation AOrientation, int ARole) const
{
    if (ARole != Qt::DisplayRole || ASection < 0)
        return {};
    if (AOrientation == Qt::Horizontal)
        return ASection < columnCount() ? QString::fromStdString(FFieldDefs[static_cast<size_t>(ASection)].Name)
                                        : QVariant();
    return QString::number(ASection + 1);
}

void TTvrMksrcModel::SetRows(std::vector<TRow> ARows)
{
    beginResetModel();
    FRows = std::move(ARows);
    endResetModel();
}

// ---------------------------------------------------------------- dialog

bool ExecuteMksrcDialog(const TTvrMksrcParams& AParams)
{
    TTvrMksrcDialog Dialog(AParams);
    Dialog.exec();
    return Dialog.Saved();
}

TTvrMksrcDialog::TTvrMksrcDialog(const TTvrMksrcParams& AParams)
    : QDialog(AParams.Parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                  Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      FhnParent(AParams.Parent),
      FFieldDefCount(static_cast<int32_t>(AParams.FieldDefs.size())),
      FFieldDefs(AParams.FieldDefs),
      FFileName(AParams.FileName),
      FSettings(AParams.Settings)
{
    setObjectName(QStringLiteral("TvrMksrcDialog"));
    setWindowTitle(QStringLiteral("ソースデータ作成"));
    // The font of the whole dialog: "メイリオ" 11 pixels high.
    setFont(MeiryoFont(11));
    setModal(true);

    // The size from the configuration, centred on the screen.
    MksrcDialogState().Restore(*this);

    // The actions.
    FActPaste = MakeGridAction(this, "ActPaste", QStringLiteral("貼り付け"), QKeySequence(Qt::CTRL | Qt::Key_V));
    FActSave = MakeGridAction(this, "ActSave", QStringLiteral("保存"), QKeySequence(Qt::CTRL | Qt::Key_S));
    for (QAction* Action : {FActPaste, FActSave})
        connect(Action, &QAction::triggered, this, [this, Action] { ActExecute(Action); });

    auto* Layout = new QVBoxLayout(this);
    Layout->setContentsMargins(0, 0, 0, 0);
    Layout->setSpacing(0);

    // The instructions.
    auto* InPanel = MakeGridPanel(this, "InPanel", QFrame::NoFrame);
    InPanel->setFixedHeight(49);
    auto* InLayout = new QVBoxLayout(InPanel);
    InLayout->setContentsMargins(6, 6, 6, 0);
    auto* InLabel1 = new QLabel(QStringLiteral("クリップボードからソースデータを作成します。[貼り付け] で下のグリッドに原始データを貼り付け、"
                                               "[保存] でソースデータとして保存します。"),
                                InPanel);
    InLabel1->setObjectName(QStringLiteral("InLabel1"));
    InLabel1->setWordWrap(true);
    InLabel1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    InLayout->addWidget(InLabel1);
    Layout->addWidget(InPanel);

    // The tool bar: a button for each command.
    auto* IcPanel = MakeGridPanel(this, "IcPanel", QFrame::StyledPanel);
    IcPanel->setFixedHeight(34);
    MakeToolBarButton(IcPanel, "IcPasteSpeedButton", FActPaste, 0);
    MakeToolBarButton(IcPanel, "IcSaveSpeedButton", FActSave, 1);
    Layout->addWidget(IcPanel);

    // The grid with its header.
    auto* ViPanel = MakeGridPanel(this, "ViPanel", QFrame::StyledPanel);
    auto* ViLayout = new QVBoxLayout(ViPanel);
    ViLayout->setContentsMargins(1, 0, 1, 1);
    ViLayout->setSpacing(0);
    const std::string FileName = ExtractFileName(FFileName);
    const std::string Folder = FFileName.substr(0, FFileName.size() - FileName.size());
    FViHeadPanel = new QLabel(QStringLiteral(" 作成するソースデータ : %1").arg(AParams.DataName), ViPanel);
    FViHeadPanel->setObjectName(QStringLiteral("ViHeadPanel"));
    FViHeadPanel->setFixedHeight(26);
    FViHeadPanel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont HeadFont = font();
    HeadFont.setBold(true);
    FViHeadPanel->setFont(HeadFont);
    FViHeadPanel->setAutoFillBackground(true);
    FViHeadPanel->setBackgroundRole(QPalette::Window);
    FViHeadPanel->setToolTip(QStringLiteral("作成するソースデータ\n・ソースデータの場所 : %1\n・ファイル名 : %2")
                                 .arg(PathFullDisplayName(PathDisplay(ExpandFolderBytes(Folder))), FileNameDisplay(FileName)));
    ViLayout->addWidget(FViHeadPanel);

    FViSheetStringGrid = new QTableView(ViPanel);
    FViSheetStringGrid->setObjectName(QStringLiteral("ViSheetStringGrid"));
    FModel = new TTvrMksrcModel(FFieldDefs, FViSheetStringGrid);
    // Invalid texts in red.
    SetupGrid(FViSheetStringGrid, FModel,
              new TTvrGridCellDelegate(FViSheetStringGrid, [](const QModelIndex& AIndex) -> std::optional<QColor> {
                  if (AIndex.data(TTvrMksrcModel::InvalidRole).toBool())
                      return QColor(Qt::red);
                  return std::nullopt;
              }));
    const int X = GridCharWidth(FViSheetStringGrid->font());
    for (int32_t J = 0; J < FFieldDefCount; ++J)
        FViSheetStringGrid->horizontalHeader()->resizeSection(J, FFieldDefs[static_cast<size_t>(J)].CharCount * X);
    ViLayout->addWidget(FViSheetStringGrid, 1);
    Layout->addWidget(ViPanel, 1);
    new TNbItemHint(FViSheetStringGrid,
                    [this](QWidget* ASender, const QModelIndex& AParam) { return GetItemHint(ASender, AParam); });

    ClearSheet();
}

TTvrMksrcDialog::~TTvrMksrcDialog()
{
    MksrcDialogState().Save(*this);
}

void TTvrMksrcDialog::keyPressEvent(QKeyEvent* AEvent)
{
    if (AEvent->key() == Qt::Key_Escape) {
        AEvent->accept();
        return;
    }
    QDialog::keyPressEvent(AEvent);
}

void TTvrMksrcDialog::ActExecute(QAction* ASender)
{
    if (ASender == FActPaste)
        Paste();
    else if (ASender == FActSave && FActSave->isEnabled())
        Save();
}

QString TTvrMksrcDialog::GetItemHint(QWidget* ASender, const QModelIndex& AParam) const
{
    if (ASender != FViSheetStringGrid || !AParam.isValid())
        return {};
    return AParam.data(Qt::DisplayRole).toString();
}

QString TTvrMksrcDialog::CellText(int32_t ACol, int32_t ARow) const
{
    return FModel->index(ARow, ACol).data(Qt::DisplayRole).toString();
}

bool TTvrMksrcDialog::CellValid(int32_t ACol, int32_t ARow) const
{
    return !FModel->index(ARow, ACol).data(TTvrMksrcModel::InvalidRole).toBool();
}

void TTvrMksrcDialog::ClearSheet()
{
    FModel->SetRows({TTvrMksrcModel::TRow(static_cast<size_t>(FFieldDefCount))});
    FViSheetStringGrid->setCurrentIndex(FModel->index(0, 0));
    SetSheetEnabled(false);
}

void TTvrMksrcDialog::SetSheetEnabled(bool AEnabled)
{
    FViSheetStringGrid->setEnabled(AEnabled);
    FActSave->setEnabled(AEnabled);
}

void TTvrMksrcDialog::Paste()
{
    const QClipboard* Clipboard = QGuiApplication::clipboard();
    const std::string Text = Clipboard ? Clipboard->text().toStdString() : std::string();
    const std::vector<std::string_view> Lines = SplitTextLines(Text);
    if (Lines.empty()) {
        ClearSheet();
        ShowMessageBox(nmkWarning, QStringLiteral("クリップボードに該当するデータはありません。"), nmbOk);
        return;
    }
    std::vector<TTvrMksrcModel::TRow> Rows;
    Rows.reserve(Lines.size());
    FInvalidSome = false;
    for (const std::string_view Line : Lines) {
        const QStringList Fields = SplitTabs(QString::fromUtf8(Line.data(), static_cast<qsizetype>(Line.size())));
        TTvrMksrcModel::TRow Row(static_cast<size_t>(FFieldDefCount));
        for (int32_t J = 0; J < FFieldDefCount && J < Fields.size(); ++J) {
            TTvrMksrcModel::TCell& Cell = Row[static_cast<size_t>(J)];
            Cell.Text = Fields[J];
            Cell.Valid = IsCellTextValid(Cell.Text, FFieldDefs[static_cast<size_t>(J)].FieldType, FSettings);
            if (!Cell.Valid)
                FInvalidSome = true;
        }
        Rows.push_back(std::move(Row));
    }
    FModel->SetRows(std::move(Rows));
    FViSheetStringGrid->setCurrentIndex(FModel->index(0, 0));
    SetSheetEnabled(true);
    FViSheetStringGrid->viewport()->update();
    if (FInvalidSome)
        ShowMessageBox(nmkWarning, QStringLiteral("無効なデータがあります。\\n無効と判断されたデータは赤字で表示されています。"),
                       nmbOk);
    FViSheetStringGrid->setFocus();
}

void TTvrMksrcDialog::Save()
{
    if (ShowMessageBox(nmkNotice, QStringLiteral("ソースデータを保存してこのダイアログを閉じます。\n\nファイル名 : %1"),
                       {FileNameDisplay(ExtractFileName(FFileName))}, nmbOkCancel)
        != nmaOk)
        return;
    bool Written = false;
    try {
        const TNbOverrideCursor Wait;
        // The hourglass is drawn before the wait; no input is taken meanwhile.
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(kSavePauseMs);
        std::vector<std::string> Lines;
        Lines.reserve(FModel->Rows().size());
        std::vector<std::string> Fields(static_cast<size_t>(FFieldDefCount));
        for (const TTvrMksrcModel::TRow& Row : FModel->Rows()) {
            for (size_t J = 0; J < Row.size(); ++J)
                Fields[J] = Row[J].Text.toStdString();
            Lines.push_back(MakeCsvLine(Fields));
        }
        Written = WriteFileIfChanged(FFileName, EncodeTextLines(Lines));
    } catch (const std::exception& E) {
        ShowErrorMessage(E);
        return;
    }
    if (!Written)
        ShowMessageBox(nmkInformation, QStringLiteral("データに変更がないため、ファイルは更新されませんでした。"), nmbOk);
    FSaved = true;
    accept();
}

} // namespace tavrel
