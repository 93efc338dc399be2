#pragma once

// Helpers shared by the loader tests of the source tables: a temporary folder
// that the input files are written to (UTF-8 with a byte-order mark, or code
// page 932 bytes), a collector for the progress messages, and small texts
// for dates and values so that failures print readably.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <iconv.h>
#include <stdlib.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tables/TvrValue.h"

namespace tavrel::test {

// Every loader test runs on the same day and with the Japanese conventions.
inline TTvrDate Today() { return TTvrDate::Encode(2026, 12, 10); }
inline const TTvrRegionalSettings& Settings()
{
    static const TTvrRegionalSettings Value{};
    return Value;
}

inline TTvrDate D(int AYear, int AMonth, int ADay) { return TTvrDate::Encode(AYear, AMonth, ADay); }

// yyyy/mm/dd of the day, plus the time of day when there is one.
inline std::string DateText(TTvrDate ADate)
{
    int Year = 0, Month = 0, Day = 0;
    ADate.Decode(Year, Month, Day);
    std::ostringstream S;
    S << std::setfill('0') << std::setw(4) << Year << '/' << std::setw(2) << Month << '/' << std::setw(2)
      << Day;
    if (ADate.Serial() != static_cast<double>(ADate.Day()))
        S << " +time";
    return S.str();
}

inline std::string NumberText(double AValue)
{
    std::ostringstream S;
    S << std::setprecision(15) << AValue;
    return S.str();
}

// "null", "int:5", "float:1.5", "date:2019/04/01" or "text:abc".
inline std::string ValueText(const TTvrValue& AValue)
{
    if (AValue.IsNull())
        return "null";
    if (AValue.IsInteger())
        return "int:" + std::to_string(AValue.Integer());
    if (AValue.IsFloat())
        return "float:" + NumberText(AValue.AsFloat());
    if (AValue.IsDate())
        return "date:" + DateText(AValue.Date());
    return "text:" + AValue.Text();
}

// Collects what a loader sends through its progress callback.
struct MessageLog {
    std::vector<std::string> Lines;
    TTvrExecuteSendMessage Sink()
    {
        return [this](const std::string& AMessage) { Lines.push_back(AMessage); };
    }
};

// A folder of its own under the system's temporary folder, removed with
// everything in it at the end of the test.
class TempFolder {
public:
    TempFolder()
    {
        std::string Template = (std::filesystem::temp_directory_path() / "tavrel-sources-XXXXXX").string();
        if (mkdtemp(Template.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        FPath = Template;
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder()
    {
        std::error_code Ignored;
        std::filesystem::remove_all(FPath, Ignored);
    }

    std::string Path(const std::string& AName) const { return (FPath / AName).string(); }

    std::string WriteBytes(const std::string& AName, const std::string& ABytes) const
    {
        const std::string FileName = Path(AName);
        std::ofstream Out(FileName, std::ios::binary | std::ios::trunc);
        Out.write(ABytes.data(), static_cast<std::streamsize>(ABytes.size()));
        Out.close();
        if (!Out)
            throw std::runtime_error("cannot write " + FileName);
        return FileName;
    }

    // The text as UTF-8 with a byte-order mark.
    std::string WriteUtf8(const std::string& AName, const std::string& AText) const
    {
        return WriteBytes(AName, "\xEF\xBB\xBF" + AText);
    }

    // The text as code page 932 bytes without a mark (encoded here with
    // iconv, independently of the engine's own encoder).
    std::string WriteCp932(const std::string& AName, const std::string& AText) const
    {
        return WriteBytes(AName, ToCp932(AText));
    }

    static std::string ToCp932(const std::string& AText)
    {
        iconv_t Cd = iconv_open("CP932", "UTF-8");
        if (Cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv_open CP932 failed");
        std::string In = AText;
        std::string Out(In.size() * 2 + 16, '\0');
        char* InPtr = In.data();
        size_t InLeft = In.size();
        char* OutPtr = Out.data();
        size_t OutLeft = Out.size();
        const size_t Result = iconv(Cd, &InPtr, &InLeft, &OutPtr, &OutLeft);
        iconv_close(Cd);
        if (Result == static_cast<size_t>(-1))
            throw std::runtime_error("text not representable in CP932");
        Out.resize(Out.size() - OutLeft);
        return Out;
    }

private:
    std::filesystem::path FPath;
};

// True when the text begins with a row prefix such as "12行: ".
inline bool HasRowPrefix(const std::string& AText)
{
    size_t Pos = 0;
    while (Pos < AText.size() && AText[Pos] >= '0' && AText[Pos] <= '9')
        ++Pos;
    return Pos > 0 && AText.compare(Pos, std::string("行: ").size(), "行: ") == 0;
}

// The expected log: the loader's opening line followed by the row messages.
inline std::vector<std::string> WithLead(const std::string& ALead, const std::vector<std::string>& AMessages)
{
    std::vector<std::string> Result{ALead};
    Result.insert(Result.end(), AMessages.begin(), AMessages.end());
    return Result;
}

} // namespace tavrel::test
