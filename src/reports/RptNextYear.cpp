// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "reports/RptNextYear.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "reports/RptStatement.h"
#include "sources/SrcKamoku.h"
#include "sources/SrcKinsen.h"
#include "sources/SrcTables.h"
#include "tables/TvrCodePage.h"
#include "tables/TvrConvert.h"
#include "tables/TvrCsv.h"

namespace tavrel {

namespace {

using TLineFields = std::vector<std::string>;

[[noreturn]] void RaiseFolderError(const std::string& AFolder, int AErrno)
{
    throw ETvrError("フォルダ \"" + AFolder + "\" を作成できません。" + std::generic_category().message(AErrno));
}

// Every line of the file, decoded and split as the loaders split it, but
// with all its fields.
std::vector<TLineFields> ReadLineFields(const std::string& AFileName)
{
    const TTvrFileText Text(ReadFileBytes(AFileName));
    std::vector<TLineFields> Lines;
    for (const std::string_view Line : SplitTextLines(Text.Body()))
        Lines.push_back(SplitCsvLine(Text.Decode(Line)));
    return Lines;
}

// The fields of the file's line at the index (counted from 0, blank lines
// included); none when the file has fewer lines.
TLineFields ReadLineFieldsAt(const std::string& AFileName, int AIndex)
{
    const TTvrFileText Text(ReadFileBytes(AFileName));
    const std::vector<std::string_view> Lines = SplitTextLines(Text.Body());
    if (AIndex < 0 || static_cast<size_t>(AIndex) >= Lines.size())
        return {};
    return SplitCsvLine(Text.Decode(Lines[static_cast<size_t>(AIndex)]));
}

std::string LinesText(const std::vector<TLineFields>& ALines)
{
    std::string Text;
    for (const TLineFields& Fields : ALines) {
        AppendCsvLine(Text, Fields);
        Text += "\r\n";
    }
    return Text;
}

const std::string& TableFileName(TSrcTableKind AKind)
{
    static const std::array<std::string, 4> Names = [] {
        std::array<std::string, 4> Result;
        for (const TSrcTableKind Kind : kSrcTableKinds)
            Result[static_cast<size_t>(Kind)] = std::string(SrcTableInfo(Kind).FileName);
        return Result;
    }();
    return Names[static_cast<size_t>(AKind)];
}

// The last day of the next period: this one's a year on, 29 February
// becoming 28 February.
TTvrDate NextLastDate(TTvrDate ALastDate)
{
    int Year = 0;
    int Month = 0;
    int Day = 0;
    ALastDate.Decode(Year, Month, Day);
    if (Month == 2 && Day == 29)
        Day = 28;
    TTvrDate Result;
    if (!TTvrDate::TryEncode(Year + 1, Month, Day, Result))
        throw ETvrError("次年度の会計期間が日付の範囲を超えます。");
    return Result;
}

} // namespace

std::vector<TRptTableText> MakeNextYearTables(const TRptNextYearSources& ASources,
                                              const TSrcKinsenTable& AKinsenTable,
                                              const TTvrRegionalSettings& ASettings)
{
    const double Cash = AKinsenTable.FiscalCarryingCash();
    const double Bank = AKinsenTable.FiscalCarryingBank();
    std::vector<TRptTableText> Tables;

    std::vector<TLineFields> Kamoku = ReadLineFields(ASources.KamokuMaster);
    for (TLineFields& Fields : Kamoku) {
        if (Fields.empty() || Trim(Fields[kmCode1]) != kOpeningCode)
            continue;
        if (Fields.size() < kmKYOSAN + 1)
            Fields.resize(kmKYOSAN + 1);
        Fields[kmKYOSAN] = NumberText(Cash + Bank, ASettings);
    }
    Tables.push_back({TableFileName(TSrcTableKind::Kamoku), LinesText(Kamoku)});

    if (!ASources.TantoshaMaster.empty())
        Tables.push_back({TableFileName(TSrcTableKind::Tantosha), LinesText(ReadLineFields(ASources.TantoshaMaster))});

    const TTvrDate LastDate = AKinsenTable.FiscalLastDate().DateOnly();
    const std::string CashText = NumberText(Cash, ASettings);
    const std::string BankText = NumberText(Bank, ASettings);
    Tables.push_back({TableFileName(TSrcTableKind::Zandaka),
                      LinesText({{BookDateText(LastDate, ASettings), CashText, BankText}})});

    const TTvrDate NextLast = NextLastDate(LastDate);
    const TTvrDate NextFirst = TTvrDate::FromSerial(LastDate.Day() + 1.0);
    const TLineFields Starting = ReadLineFieldsAt(ASources.KinsenTable, AKinsenTable.KinsenStartingIndex());
    TLineFields Row(ktColumnCount);
    Row[ktKDATE] = BookDateText(NextFirst, ASettings);
    Row[ktKSDATE] = BookDateText(NextLast, ASettings);
    // 出納記号, 相手名, 摘要番号, 摘要明細 and 担当者 of this year's starting
    // row, as the treasurer wrote them.
    for (int Column = ktKSNOTE; Column <= ktKTCODE; ++Column)
        if (static_cast<size_t>(Column) < Starting.size())
            Row[static_cast<size_t>(Column)] = Starting[static_cast<size_t>(Column)];
    Row[ktKSCODE] = kOpeningCode;
    Row[ktKCASH] = CashText;
    Row[ktKBANK] = BankText;
    Tables.push_back({TableFileName(TSrcTableKind::Kinsen), LinesText({Row})});
    return Tables;
}

std::string NextYearFolderName(const std::string& AKinsenTable, const TTvrRegionalSettings& ASettings)
{
    try {
        const TTvrFileText Text(ReadFileBytes(AKinsenTable));
        std::vector<std::string> Fields;
        for (const std::string_view Line : SplitTextLines(Text.Body())) {
            // A starting row whose quoted field runs on is no row at all.
            if (!SplitCsvLine(Text.Decode(Line), Fields, ktColumnCount))
                return {};
            if (!HasNonEmptyField(Fields))
                continue;
            if (Fields.size() <= ktKSDATE)
                return {};
            const TTvrValue LastDate = TextToDateValue(Fields[ktKSDATE], ASettings);
            if (!LastDate.IsDate())
                return {};
            const TTvrDate NextFirst = TTvrDate::FromSerial(LastDate.Date().Day() + 1.0);
            return ResolveReportParams({}, NextFirst, NextFirst).YearTitle;
        }
    } catch (const std::exception&) {
        // Only a proposal: the run says what is wrong with the file.
    }
    return {};
}

void CheckNextYearFolder(const std::string& AFolder)
{
    struct stat St {};
    if (::stat(AFolder.c_str(), &St) != 0) {
        // A folder that is not there yet is made when the tables are written.
        if (errno == ENOENT)
            return;
        RaiseFolderError(AFolder, errno);
    }
    if (!S_ISDIR(St.st_mode))
        RaiseFolderError(AFolder, ENOTDIR);
    for (const TSrcTableKind Kind : kSrcTableKinds) {
        const std::string Path = (std::filesystem::path(AFolder) / TableFileName(Kind)).string();
        // Any entry of the name counts, a folder or a dangling link too:
        // nothing of the user's is ever replaced.
        if (::lstat(Path.c_str(), &St) == 0)
            throw ETvrError("フォルダ \"" + AFolder + "\" には既にソースデータがあります。");
        if (errno != ENOENT)
            RaiseFolderError(AFolder, errno);
    }
}

void WriteNextYearTables(const std::string& AFolder, const std::vector<TRptTableText>& ATables,
                         const TTvrExecuteSendMessage& ASendMessage)
{
    CheckNextYearFolder(AFolder);
    std::error_code Error;
    std::filesystem::create_directories(AFolder, Error);
    if (Error)
        RaiseFolderError(AFolder, Error.value());
    std::vector<std::string> Written;
    try {
        for (const TRptTableText& Table : ATables) {
            ASendMessage("次年度 " + Table.FileName + " 作成中...");
            const std::string Path = (std::filesystem::path(AFolder) / Table.FileName).string();
            WriteFileIfChanged(Path, EncodeText(Table.Text), TTvrWriteDurability::Durable);
            Written.push_back(Path);
        }
    } catch (...) {
        // The folder held none of the tables before: half a set would be
        // taken for a whole one.
        for (const std::string& Path : Written)
            ::unlink(Path.c_str());
        throw;
    }
}

} // namespace tavrel
