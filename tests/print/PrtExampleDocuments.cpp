// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "PrtExampleDocuments.h"

#include <initializer_list>

namespace tavrel {

namespace {

TRptRow Row(TRptRowKind AKind, std::initializer_list<TTvrValue> AFields, size_t ACount, bool AMarked = false)
{
    TRptRow Result{AKind, AFields, AMarked};
    Result.Fields.resize(ACount);
    return Result;
}

TTvrDate Ymd(int AYear, int AMonth, int ADay) { return TTvrDate::Encode(AYear, AMonth, ADay); }

} // namespace

TTvrFieldDefDynArray ExampleStatementFields()
{
    return {{"科目", sftString, 20},
            {"予算額", sftDouble, 12},
            {"決算額", sftDouble, 12},
            {"増減", sftDouble, 12},
            {"備考", sftString, 30}};
}

TTvrFieldDefDynArray ExampleReconciliationFields()
{
    return {{"行", sftInteger, 5},           {"日付", sftDate, 12},          {"現金(実査)", sftDouble, 12},
            {"現金(帳簿)", sftDouble, 12},   {"現金差額", sftDouble, 10},    {"預金(通帳)", sftDouble, 12},
            {"預金(帳簿)", sftDouble, 12},   {"預金差額", sftDouble, 10},    {"判定", sftString, 8},
            {"候補", sftString, 30}};
}

TRptDocument ExampleStatement()
{
    using K = TRptRowKind;
    const size_t N = 5;
    TRptDocument Document;
    Document.FileName = "21収支決算書.csv";
    Document.FieldDefs = ExampleStatementFields();
    const TTvrValue None;
    Document.Rows = {
        Row(K::Title, {"さくら台三丁目町内会 2025年度 収支決算書"}, N),
        Row(K::Period, {"期間", "2025/04/01～2026/03/31"}, N),
        Row(K::Blank, {}, N),
        Row(K::Heading, {"■ 収入の部"}, N),
        Row(K::ColumnTitles, {"科目", "予算額", "決算額", "増減", "備考"}, N),
        Row(K::Item, {"前期繰越金", 860775.0, 860775.0, 0.0, "令和6年度決算の次期繰越（現金＋預金）"}, N),
        Row(K::Item, {"会費収入", 720000.0, 708800.0, -11200.0, None}, N),
        Row(K::Item, {"補助金収入", 257000.0, 256580.0, -420.0, None}, N),
        Row(K::Item, {"事業収入", 262000.0, 259300.0, -2700.0, "夏祭り・資源回収・集会所貸出"}, N),
        Row(K::Item, {"雑収入", 40000.0, 44697.0, 4697.0, None}, N),
        Row(K::Subtotal, {"当期収入合計", 1279000.0, 1269377.0, -9623.0, None}, N),
        Row(K::Total, {"収入合計", 2139775.0, 2130152.0, -9623.0, None}, N),
        Row(K::Blank, {}, N),
        Row(K::Heading, {"■ 支出の部"}, N),
        Row(K::ColumnTitles, {"科目", "予算額", "決算額", "残額", "備考"}, N),
        Row(K::Item, {"事業費", 485000.0, 443702.0, 41298.0, None}, N),
        Row(K::Item, {"会議費", 48000.0, 53220.0, -5220.0, "総会・役員会・班長会"}, N),
        Row(K::Item, {"事務費", 57000.0, 50680.0, 6320.0, None}, N),
        Row(K::Item, {"負担金", 75000.0, 73000.0, 2000.0, None}, N),
        Row(K::Item, {"慶弔費", 40000.0, 33000.0, 7000.0, "慶弔規程による"}, N),
        Row(K::Item, {"集会所管理費", 330000.0, 334070.0, -4070.0, "日用品は大科目で処理"}, N),
        Row(K::Item, {"予備費", 50000.0, 22000.0, 28000.0, None}, N),
        Row(K::Total, {"支出合計", 1085000.0, 1009672.0, 75328.0, None}, N),
        Row(K::Blank, {}, N),
        Row(K::CarryForward, {"次年度繰越金", 1054775.0, 1120480.0, 65705.0, None}, N),
        Row(K::CarryForward, {"　うち現金", None, 21670.0, None, None}, N),
        Row(K::CarryForward, {"　うち預金", None, 1098810.0, None, None}, N),
        Row(K::Blank, {}, N),
        Row(K::Note, {"上記のとおり報告します。"}, N),
        Row(K::Signature, {Ymd(2026, 4, 20), "会計", "渡辺　恵子"}, N),
        Row(K::Blank, {}, N),
        Row(K::Note, {"上記の帳簿、預金通帳、領収書等を監査した結果、適正に処理されていることを認めます。"}, N),
        Row(K::Signature, {None, "監事", "木村　和夫", None, "印"}, N),
        Row(K::Signature, {None, "監事", "斎藤　由美", None, "印"}, N),
    };
    return Document;
}

TRptDocument ExampleReconciliation()
{
    using K = TRptRowKind;
    const size_t N = 10;
    TRptDocument Document;
    Document.FileName = "22残高照合表.csv";
    Document.FieldDefs = ExampleReconciliationFields();
    Document.Rows.push_back(Row(K::ColumnTitles,
                                {"行", "日付", "現金(実査)", "現金(帳簿)", "現金差額", "預金(通帳)", "預金(帳簿)",
                                 "預金差額", "判定", "候補"},
                                N));
    struct TCount {
        int Line;
        TTvrDate Date;
        double Cash;
        double Bank;
    };
    const TCount kCounts[] = {
        {1, Ymd(2025, 4, 1), 48320, 812455},   {2, Ymd(2025, 6, 30), 12710, 1349777},
        {3, Ymd(2025, 8, 31), 65250, 1330055}, {4, Ymd(2025, 9, 30), 44070, 1227170},
        {5, Ymd(2025, 12, 31), 16490, 1207552}, {6, Ymd(2026, 3, 31), 21670, 1098810},
    };
    for (const TCount& C : kCounts)
        Document.Rows.push_back(Row(K::Item,
                                    {static_cast<int32_t>(C.Line), C.Date, C.Cash, C.Cash, 0.0, C.Bank, C.Bank, 0.0,
                                     "一致", TTvrValue()},
                                    N));
    return Document;
}

TRptPageHeader ExamplePageHeader()
{
    return {"さくら台三丁目町内会", "2025年度", Ymd(2025, 4, 1), Ymd(2026, 3, 31)};
}

} // namespace tavrel
