// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "print/PrtYearEnd.h"

#include <QStringList>
#include <algorithm>
#include <iterator>
#include <memory>

#include "print/PrtCharts.h"
#include "print/PrtPaint.h"
#include "print/PrtPdf.h"
#include "print/PrtTexts.h"
#include "tables/TvrConvert.h"

namespace tavrel {

namespace {

constexpr double kTitleSize = 18.0;
constexpr double kPeriodSize = 11.0;
constexpr double kHeadingSize = 11.5;
constexpr double kTableSize = 10.0;
constexpr double kNoteSize = 10.5;
constexpr double kSignatureSize = 10.5;
constexpr double kSealSize = 9.0;

// Inside a cell: the room left and right of the text, above and below it.
constexpr double kCellPadding = 4.0;
constexpr double kCellLeading = 2.5;
// An amount column is at least this wide, so that the columns of the two
// sections line up whatever their figures.
constexpr double kMinAmountWidth = 74.0;
// The item names take at least this width, and at most this part of what
// the amounts leave.
constexpr double kMinNameWidth = 110.0;
constexpr double kMaxNamePart = 0.5;

constexpr double kBlankGap = 8.0;
constexpr double kSentenceGap = 6.0;
constexpr double kSignatureHeight = 30.0;
constexpr double kSealBox = 26.0;

const QColor kTitlesFill(0xe6, 0xe6, 0xe6);
const QColor kSubtotalFill(0xf5, 0xf5, 0xf5);
const QColor kTotalFill(0xec, 0xec, 0xec);
const QColor kGridColor(0x80, 0x80, 0x80);
const QColor kSealColor(0x70, 0x70, 0x70);

// A field as the statement prints it.
QString FieldText(const TTvrValue& AValue, const TTvrRegionalSettings& ASettings)
{
    if (AValue.IsText())
        return PrtString(AValue.Text());
    if (AValue.IsNumber())
        return StatementAmountText(AValue.AsFloat(), ASettings);
    if (AValue.IsDate())
        return PrtString(BookDateText(AValue.Date(), ASettings));
    return QString();
}

QString JoinedTexts(const TRptRow& ARow, const TTvrRegionalSettings& ASettings)
{
    QStringList Texts;
    for (const TTvrValue& Field : ARow.Fields)
        if (const QString Text = FieldText(Field, ASettings); !Text.isEmpty())
            Texts << Text;
    return Texts.join(QLatin1Char(' '));
}

bool IsTableRow(TRptRowKind AKind)
{
    return AKind == TRptRowKind::ColumnTitles || AKind == TRptRowKind::Item || AKind == TRptRowKind::Subtotal ||
           AKind == TRptRowKind::Total || AKind == TRptRowKind::CarryForward;
}

// The text in lines no wider than AWidth, broken between any two
// characters (Japanese text has no spaces to break at).
QStringList WrapText(const QString& AText, double AWidth, double ASize, const TPrtMetrics& AMetrics)
{
    QStringList Lines;
    QString Line;
    for (qsizetype I = 0; I < AText.size(); ++I) {
        const qsizetype Length = AText[I].isHighSurrogate() && I + 1 < AText.size() ? 2 : 1;
        const QString Char = AText.mid(I, Length);
        I += Length - 1;
        if (!Line.isEmpty() && AMetrics.TextWidth(Line + Char, ASize, false) > AWidth) {
            Lines << Line;
            Line.clear();
        }
        Line += Char;
    }
    if (!Line.isEmpty() || Lines.isEmpty())
        Lines << Line;
    return Lines;
}

// The columns of the statement's tables: the same for every section, so
// that the amounts stand under each other from the first page to the last.
struct TColumns {
    std::vector<double> Left;
    std::vector<double> Width;
    std::vector<bool> Numeric;
    double Right = 0.0;
};

TColumns PlanColumns(const TRptDocument& ADocument, const TTvrRegionalSettings& ASettings, const QRectF& ABody,
                     const TPrtMetrics& AMetrics)
{
    const size_t Count = static_cast<size_t>(ADocument.FieldCount());
    TColumns Columns;
    Columns.Numeric.assign(Count, false);
    std::vector<double> Natural(Count, 0.0);
    for (const TRptRow& Row : ADocument.Rows) {
        if (!IsTableRow(Row.Kind))
            continue;
        for (size_t C = 0; C < Count && C < Row.Fields.size(); ++C) {
            if (Row.Fields[C].IsNumber())
                Columns.Numeric[C] = true;
            const bool Bold = Row.Kind == TRptRowKind::ColumnTitles || Row.Kind == TRptRowKind::Total;
            Natural[C] = std::max(Natural[C], AMetrics.TextWidth(FieldText(Row.Fields[C], ASettings), kTableSize, Bold) +
                                                  2 * kCellPadding);
        }
    }
    Columns.Width.assign(Count, 0.0);
    double Left = ABody.width();
    std::vector<size_t> Texts;
    for (size_t C = 0; C < Count; ++C) {
        if (Columns.Numeric[C]) {
            Columns.Width[C] = std::max(kMinAmountWidth, Natural[C]);
            Left -= Columns.Width[C];
        } else {
            Texts.push_back(C);
        }
    }
    // The first text column names the items; the others (the memo) share
    // what is left in proportion to their texts.
    if (!Texts.empty()) {
        const size_t Name = Texts.front();
        Columns.Width[Name] = std::clamp(Natural[Name], std::min(kMinNameWidth, Left), std::max(0.0, Left * kMaxNamePart));
        if (Texts.size() == 1)
            Columns.Width[Name] = std::max(Columns.Width[Name], Left);
        double Rest = Left - Columns.Width[Name];
        double Sum = 0.0;
        for (size_t I = 1; I < Texts.size(); ++I)
            Sum += std::max(Natural[Texts[I]], 1.0);
        for (size_t I = 1; I < Texts.size(); ++I)
            Columns.Width[Texts[I]] = Rest * std::max(Natural[Texts[I]], 1.0) / Sum;
    }
    double X = ABody.left();
    for (size_t C = 0; C < Count; ++C) {
        Columns.Left.push_back(X);
        X += Columns.Width[C];
    }
    Columns.Right = X;
    return Columns;
}

// The pages of the statement as they fill, row after row.
class TStatementFlow {
public:
    TStatementFlow(const TRptDocument& ADocument, const TTvrRegionalSettings& ASettings, const TPrtPaper& APaper,
                   const TPrtMetrics& AMetrics)
        : FDocument(ADocument), FSettings(ASettings), FPaper(APaper), FMetrics(AMetrics)
    {
        StartPage();
        FColumns = PlanColumns(ADocument, ASettings, FBody, AMetrics);
    }

    std::vector<TPrtPage> Run()
    {
        const std::vector<TRptRow>& Rows = FDocument.Rows;
        for (size_t I = 0; I < Rows.size(); ++I) {
            const TRptRow& Row = Rows[I];
            const TRptRow* Next = I + 1 < Rows.size() ? &Rows[I + 1] : nullptr;
            switch (Row.Kind) {
            case TRptRowKind::Blank:
                CloseTable();
                FHeading = nullptr;
                FTitles = nullptr;
                if (FY > FBody.top())
                    FY += kBlankGap;
                break;
            case TRptRowKind::Title:
                CloseTable();
                AddCentred(JoinedTexts(Row, FSettings), kTitleSize, true, 4.0);
                break;
            case TRptRowKind::Period:
                CloseTable();
                AddCentred(JoinedTexts(Row, FSettings), kPeriodSize, false, 14.0);
                break;
            case TRptRowKind::Heading:
                CloseTable();
                // A heading stays with its column titles and first line.
                EnsureRoom(LineBox(kHeadingSize) + 2 * TableRowHeight(Row, false));
                FHeading = &Row;
                FTitles = nullptr;
                AddHeading(Row);
                break;
            case TRptRowKind::ColumnTitles:
                EnsureRoom(2 * TableRowHeight(Row, true), true);
                FTitles = &Row;
                AddTableRow(Row, false);
                break;
            case TRptRowKind::Item:
            case TRptRowKind::Subtotal:
            case TRptRowKind::Total:
            case TRptRowKind::CarryForward: {
                const bool FirstCarry = Row.Kind == TRptRowKind::CarryForward &&
                                        (I == 0 || Rows[I - 1].Kind != TRptRowKind::CarryForward);
                // The carry-forward lines stay together: the amount and
                // how it is held.
                double Height = TableRowHeight(Row, FirstCarry);
                for (size_t J = I + 1; FirstCarry && J < Rows.size() && Rows[J].Kind == TRptRowKind::CarryForward; ++J)
                    Height += TableRowHeight(Rows[J], false);
                EnsureRoom(Height, true);
                AddTableRow(Row, FirstCarry);
                break;
            }
            case TRptRowKind::Note:
                CloseTable();
                // A sentence stays with the signature line under it.
                EnsureRoom(LineBox(kNoteSize) + kSentenceGap +
                           (Next && Next->Kind == TRptRowKind::Signature ? kSignatureHeight : 0.0));
                AddNote(Row);
                break;
            case TRptRowKind::Signature:
                CloseTable();
                EnsureRoom(kSignatureHeight);
                AddSignature(Row);
                break;
            }
        }
        CloseTable();
        FPages.push_back(std::move(FPage));
        return std::move(FPages);
    }

private:
    double LineBox(double ASize) const { return FMetrics.LineHeight(ASize) + 2 * kCellLeading; }

    void StartPage()
    {
        const bool First = FPages.empty();
        FPage = TPrtPage();
        FPage.Orientation = QPageLayout::Portrait;
        FPage.Size = FPaper.Size(QPageLayout::Portrait);
        FPage.SheetName = DocumentName(FDocument.FileName);
        FPage.NoHeader = First;
        FBody = PrtBodyRect(FPaper, QPageLayout::Portrait, !First);
        FY = FBody.top();
    }

    // A new page when the height does not fit below; a table that was open
    // goes on under its heading and column titles again.
    void EnsureRoom(double AHeight, bool AInTable = false)
    {
        if (FY + AHeight <= FBody.bottom() || FY <= FBody.top())
            return;
        CloseTable();
        FPages.push_back(std::move(FPage));
        StartPage();
        if (!AInTable)
            return;
        if (FHeading != nullptr)
            AddHeading(*FHeading);
        if (FTitles != nullptr)
            AddTableRow(*FTitles, false);
    }

    void AddCentred(const QString& AText, double ASize, bool ABold, double AGapAfter)
    {
        const double Height = LineBox(ASize);
        FPage.Texts.push_back({QRectF(FBody.left(), FY, FBody.width(), Height), AText, ASize, ABold,
                               Qt::AlignHCenter | Qt::AlignVCenter});
        FY += Height + AGapAfter;
    }

    void AddHeading(const TRptRow& ARow)
    {
        const double Height = LineBox(kHeadingSize);
        FPage.Texts.push_back({QRectF(FBody.left(), FY, FBody.width(), Height), JoinedTexts(ARow, FSettings),
                               kHeadingSize, true, Qt::AlignLeft | Qt::AlignVCenter});
        FY += Height + 2.0;
    }

    void AddNote(const TRptRow& ARow)
    {
        FY += kSentenceGap;
        const double Height = LineBox(kNoteSize);
        FPage.Texts.push_back({QRectF(FBody.left(), FY, FBody.width(), Height), JoinedTexts(ARow, FSettings),
                               kNoteSize, false, Qt::AlignLeft | Qt::AlignVCenter});
        FY += Height;
    }

    // A signature line on the right half: the date, the role, the name on
    // a line to sign on, and a box for the seal when the line asks for one
    // (its fifth field).
    void AddSignature(const TRptRow& ARow)
    {
        const auto Field = [&](size_t AIndex) {
            return AIndex < ARow.Fields.size() ? FieldText(ARow.Fields[AIndex], FSettings) : QString();
        };
        const double Top = FY;
        const double X = FBody.right() - 330.0;
        const double Height = kSignatureHeight;
        const auto Text = [&](double ALeft, double AWidth, const QString& AText, Qt::Alignment AAlign) {
            if (!AText.isEmpty())
                FPage.Texts.push_back({QRectF(ALeft, Top, AWidth, Height), AText, kSignatureSize, false,
                                       AAlign | Qt::AlignVCenter});
        };
        Text(X, 95.0, Field(0), Qt::AlignLeft);
        Text(X + 100.0, 45.0, Field(1), Qt::AlignLeft);
        Text(X + 150.0, 145.0, Field(2), Qt::AlignLeft);
        FPage.Rules.push_back({QLineF(X + 145.0, Top + Height - 6.0, X + 298.0, Top + Height - 6.0), 0.5});
        QStringList Rest;
        for (size_t I = 5; I < ARow.Fields.size(); ++I)
            if (const QString More = Field(I); !More.isEmpty())
                Rest << More;
        if (const QString Extra = Field(3); !Extra.isEmpty())
            Rest.prepend(Extra);
        if (const QString Seal = Field(4); !Seal.isEmpty()) {
            const QRectF Box(X + 304.0, Top + (Height - kSealBox) / 2, kSealBox, kSealBox);
            FPage.Boxes.push_back({Box, QColor(), Qt::black, 0.6});
            FPage.Texts.push_back({Box, Seal, kSealSize, false, Qt::AlignCenter, kSealColor});
        }
        if (!Rest.isEmpty())
            FPage.Texts.push_back({QRectF(FBody.left(), Top, X - FBody.left() - 6.0, Height), Rest.join(QLatin1Char(' ')),
                                   kSignatureSize, false, Qt::AlignLeft | Qt::AlignVCenter});
        FY += Height;
    }

    // The lines each cell of a table row takes.
    std::vector<QStringList> CellLines(const TRptRow& ARow, bool ABold) const
    {
        std::vector<QStringList> Lines;
        for (size_t C = 0; C < FColumns.Width.size(); ++C) {
            const QString Text = C < ARow.Fields.size() ? FieldText(ARow.Fields[C], FSettings) : QString();
            const double Room = FColumns.Width[C] - 2 * kCellPadding;
            if (ARow.Kind == TRptRowKind::ColumnTitles || FColumns.Numeric[C] || ABold)
                Lines.push_back(QStringList{Text});
            else
                Lines.push_back(WrapText(Text, Room, kTableSize, FMetrics));
        }
        return Lines;
    }

    double TableRowHeight(const TRptRow& ARow, bool ABold) const
    {
        qsizetype Most = 1;
        for (const QStringList& Lines : CellLines(ARow, ABold || ARow.Kind == TRptRowKind::Total))
            Most = std::max(Most, Lines.size());
        return static_cast<double>(Most) * FMetrics.LineHeight(kTableSize) + 2 * kCellLeading;
    }

    void AddTableRow(const TRptRow& ARow, bool AEmphasis)
    {
        if (!FInTable) {
            FInTable = true;
            FTableTop = FY;
            FRowTops.clear();
        }
        const bool Titles = ARow.Kind == TRptRowKind::ColumnTitles;
        const bool Bold = Titles || AEmphasis || ARow.Kind == TRptRowKind::Total;
        const double Height = TableRowHeight(ARow, AEmphasis);
        const QRectF Band(FBody.left(), FY, FColumns.Right - FBody.left(), Height);
        if (Titles)
            FPage.Boxes.push_back({Band, kTitlesFill, QColor(), 0.0});
        else if (ARow.Kind == TRptRowKind::Subtotal)
            FPage.Boxes.push_back({Band, kSubtotalFill, QColor(), 0.0});
        else if (ARow.Kind == TRptRowKind::Total || AEmphasis)
            FPage.Boxes.push_back({Band, kTotalFill, QColor(), 0.0});
        const std::vector<QStringList> Lines = CellLines(ARow, AEmphasis || ARow.Kind == TRptRowKind::Total);
        const double LineHeight = FMetrics.LineHeight(kTableSize);
        for (size_t C = 0; C < Lines.size(); ++C) {
            const Qt::Alignment Align = Titles                ? Qt::AlignHCenter
                                        : FColumns.Numeric[C] ? Qt::AlignRight
                                                              : Qt::AlignLeft;
            for (qsizetype L = 0; L < Lines[C].size(); ++L) {
                if (Lines[C][L].isEmpty())
                    continue;
                const double Top = FY + kCellLeading + static_cast<double>(L) * LineHeight;
                FPage.Texts.push_back({QRectF(FColumns.Left[C] + kCellPadding, Top,
                                              FColumns.Width[C] - 2 * kCellPadding, LineHeight),
                                       Lines[C][L], kTableSize, Bold, Align | Qt::AlignVCenter});
            }
        }
        FRowTops.push_back({FY, Titles, ARow.Kind == TRptRowKind::Total});
        FY += Height;
    }

    // The rules of the part of a table on this page: a frame, a rule under
    // the column titles and between the lines, a double rule over a total.
    void CloseTable()
    {
        if (!FInTable)
            return;
        FInTable = false;
        const double Left = FBody.left();
        const double Right = FColumns.Right;
        for (size_t I = 1; I < FRowTops.size(); ++I) {
            const double Y = FRowTops[I].Top;
            if (FRowTops[I - 1].Titles)
                FPage.Rules.push_back({QLineF(Left, Y, Right, Y), 0.8});
            else if (FRowTops[I].Total)
                for (const double Offset : {-1.2, 1.2})
                    FPage.Rules.push_back({QLineF(Left, Y + Offset, Right, Y + Offset), 0.5});
            else
                FPage.Rules.push_back({QLineF(Left, Y, Right, Y), 0.3, kGridColor});
        }
        for (size_t C = 1; C < FColumns.Left.size(); ++C)
            FPage.Rules.push_back({QLineF(FColumns.Left[C], FTableTop, FColumns.Left[C], FY), 0.3, kGridColor});
        FPage.Boxes.push_back({QRectF(Left, FTableTop, Right - Left, FY - FTableTop), QColor(), Qt::black, 0.8});
    }

    struct TRowTop {
        double Top;
        bool Titles;
        bool Total;
    };

    const TRptDocument& FDocument;
    const TTvrRegionalSettings& FSettings;
    const TPrtPaper& FPaper;
    const TPrtMetrics& FMetrics;
    TColumns FColumns;
    std::vector<TPrtPage> FPages;
    TPrtPage FPage;
    QRectF FBody;
    double FY = 0.0;
    bool FInTable = false;
    double FTableTop = 0.0;
    std::vector<TRowTop> FRowTops;
    // The heading and column titles of the section being laid out, repeated
    // on a page that continues it.
    const TRptRow* FHeading = nullptr;
    const TRptRow* FTitles = nullptr;
};

} // namespace

std::vector<TPrtPage> LayOutStatement(const TRptDocument& AStatement, const TTvrRegionalSettings& ASettings,
                                      const TPrtPaper& APaper, const TPrtMetrics& AMetrics)
{
    return TStatementFlow(AStatement, ASettings, APaper, AMetrics).Run();
}

TPrtTable ReconciliationTable(const TRptDocument& AReconciliation, const TTvrRegionalSettings& ASettings)
{
    TPrtTable Table;
    Table.SheetName = DocumentName(AReconciliation.FileName);
    Table.Caption = Table.SheetName;
    Table.RowNumbers = false;
    Table.FillWidth = true;
    // A document's columns fit what they hold, so that the page stays
    // portrait like the statement before it.
    const TRptRow* Titles = nullptr;
    for (const TRptRow& Row : AReconciliation.Rows)
        if (Row.Kind == TRptRowKind::ColumnTitles) {
            Titles = &Row;
            break;
        }
    for (size_t C = 0; C < AReconciliation.FieldDefs.size(); ++C) {
        const TTvrFieldDef& Def = AReconciliation.FieldDefs[C];
        const QString Title = Titles != nullptr && C < Titles->Fields.size() ? FieldText(Titles->Fields[C], ASettings)
                                                                             : PrtString(Def.Name);
        Table.Columns.push_back({Title, 0, Def.FieldType == sftInteger || Def.FieldType == sftDouble});
    }
    for (const TRptRow& Row : AReconciliation.Rows) {
        if (Row.Kind == TRptRowKind::ColumnTitles)
            continue;
        TPrtRow Printed;
        Printed.Marked = Row.Marked;
        for (size_t C = 0; C < AReconciliation.FieldDefs.size(); ++C) {
            const TTvrValue Value = C < Row.Fields.size() ? Row.Fields[C] : TTvrValue();
            // A line number is a number, not an amount.
            const bool Integer = AReconciliation.FieldDefs[C].FieldType == sftInteger && Value.IsNumber();
            Printed.Cells.push_back({Integer ? QString::number(Value.AsFloat(), 'f', 0) : FieldText(Value, ASettings),
                                     Value.IsNumber()});
        }
        Table.Rows.push_back(std::move(Printed));
    }
    return Table;
}

TPrtPage LayOutChartsPage(const TRptCharts& ACharts, const TTvrRegionalSettings& ASettings, const TPrtPaper& APaper)
{
    TPrtPage Page;
    Page.Orientation = QPageLayout::Portrait;
    Page.Size = APaper.Size(Page.Orientation);
    Page.SheetName = QStringLiteral("グラフ");
    const auto Charts = std::make_shared<TRptCharts>(ACharts);
    Page.Pictures.push_back({PrtBodyRect(APaper, Page.Orientation, true),
                             [Charts, ASettings](QPainter& APainter, const QRectF& ARect) {
                                 DrawCharts(APainter, ARect, *Charts, ASettings);
                             }});
    return Page;
}

std::vector<TPrtPage> LayOutCharts(const TRptCharts& ACharts, const TRptPageHeader& AHeader,
                                   const TTvrRegionalSettings& ASettings, TTvrDate AToday, const TPrtPaper& APaper)
{
    std::vector<TPrtPage> Pages{LayOutChartsPage(ACharts, ASettings, APaper)};
    AddRunningTexts(Pages, PageFrame(AHeader, ASettings, AToday), APaper);
    return Pages;
}

bool PaintCharts(QPagedPaintDevice& ADevice, const TRptCharts& ACharts, const TRptPageHeader& AHeader,
                 const TTvrRegionalSettings& ASettings, TTvrDate AToday)
{
    return PaintPages(ADevice, LayOutCharts(ACharts, AHeader, ASettings, AToday, TPrtPaper()));
}

void WriteChartsPdf(const std::string& APath, const TRptCharts& ACharts, const TRptPageHeader& AHeader,
                    const TTvrRegionalSettings& ASettings, TTvrDate AToday)
{
    WritePagesPdf(APath, LayOutCharts(ACharts, AHeader, ASettings, AToday, TPrtPaper()), QStringLiteral("グラフ"));
}

std::vector<TPrtPage> LayOutYearEnd(const TRptYearEndInputs& AInputs, const TRptCharts& ACharts,
                                    const TPrtPaper& APaper, const TPrtMetrics& AMetrics)
{
    std::vector<TPrtPage> Pages = LayOutStatement(AInputs.Statement, AInputs.Settings, APaper, AMetrics);
    if (AInputs.Reconciliation != nullptr) {
        std::vector<TPrtPage> More = LayOutTable(ReconciliationTable(*AInputs.Reconciliation, AInputs.Settings), APaper,
                                                 AMetrics);
        std::move(More.begin(), More.end(), std::back_inserter(Pages));
    }
    Pages.push_back(LayOutChartsPage(ACharts, AInputs.Settings, APaper));
    AddRunningTexts(Pages, PageFrame(AInputs.Header, AInputs.Settings, AInputs.Today), APaper);
    return Pages;
}

void WriteYearEndPdf(const std::string& APath, const TRptYearEndInputs& AInputs)
{
    const TRptCharts Charts = MakeCharts(AInputs.KinsenTable, AInputs.Ledger, AInputs.ZandakaTable);
    WritePagesPdf(APath, LayOutYearEnd(AInputs, Charts, TPrtPaper(), TPrtFontMetrics()),
                  DocumentName(AInputs.Statement.FileName));
}

} // namespace tavrel
