// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// A whole run with a fixed valid account-title master and person master and
// an arbitrary cash-book table: it completes or stops with a log, never
// crashes, and never touches a source table.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "aggregation/TvrSumup.h"
#include "tables/TvrCsv.h"

namespace {

const char* const kMaster = "000,繰越,,,1000\r\n100,会費,,,5000\r\n,10,年会費,,\r\n,,1,正会員\r\n"
                            ",20,寄付,,\r\n200,事業費,,,3000\r\n,,5,消耗品\r\n,,6,印刷\r\n"
                            "210,会議費,,,1000\r\n,10,会場費,,500\r\n,,1,会場\r\n";
const char* const kPersons = "01,会計\r\n02,庶務\r\nA1,会長\r\n";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* AData, size_t ASize)
{
    using namespace tavrel;
    static const std::string MasterPath = fuzz::WriteWorkFile("収支科目マスタ.csv", kMaster);
    static const std::string PersonsPath = fuzz::WriteWorkFile("担当者マスタ.csv", kPersons);
    const std::string KinsenPath = fuzz::WriteWorkFile("金銭出納テーブル.csv", AData, ASize);
    TTvrExecuteParams Params;
    Params.PathInput = fuzz::WorkFolder();
    Params.PathOutput = fuzz::WorkFolder() + "/output";
    Params.KamokuMaster = "収支科目マスタ.csv";
    Params.TantoshaMaster = "担当者マスタ.csv";
    Params.KinsenTable = "金銭出納テーブル.csv";
    Params.Today = fuzz::FuzzToday();
    std::string LastLine;
    TTvrSumup Sumup([&](const std::string& AMessage) { LastLine = AMessage; });
    const bool Result = Sumup.Execute(Params);
    if (LastLine != (Result ? "集計が完了しました。" : "集計は中止されました。"))
        fuzz::Violated();
    if (ReadFileBytes(MasterPath) != kMaster || ReadFileBytes(KinsenPath).size() != ASize)
        fuzz::Violated();
    for (int S = 0; S < Sumup.Outputs().Count(); ++S) {
        const TTvrSheet& Sheet = Sumup.Outputs().Sheets(S);
        for (int R = 0; R < Sheet.RowCount() && R < 50; ++R)
            for (int C = 0; C < Sheet.ColCount(); ++C)
                (void)Sheet.Cells(C, R);
    }
    return 0;
}
