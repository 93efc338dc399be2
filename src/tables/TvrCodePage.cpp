// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "tables/TvrCodePage.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <stdexcept>
#include <vector>

namespace tavrel {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& ATarget, char32_t ACode)
{
    if (ACode < 0x80) {
        ATarget.push_back(static_cast<char>(ACode));
    } else if (ACode < 0x800) {
        ATarget.push_back(static_cast<char>(0xC0 | (ACode >> 6)));
        ATarget.push_back(static_cast<char>(0x80 | (ACode & 0x3F)));
    } else if (ACode < 0x10000) {
        ATarget.push_back(static_cast<char>(0xE0 | (ACode >> 12)));
        ATarget.push_back(static_cast<char>(0x80 | ((ACode >> 6) & 0x3F)));
        ATarget.push_back(static_cast<char>(0x80 | (ACode & 0x3F)));
    } else {
        ATarget.push_back(static_cast<char>(0xF0 | (ACode >> 18)));
        ATarget.push_back(static_cast<char>(0x80 | ((ACode >> 12) & 0x3F)));
        ATarget.push_back(static_cast<char>(0x80 | ((ACode >> 6) & 0x3F)));
        ATarget.push_back(static_cast<char>(0x80 | (ACode & 0x3F)));
    }
}

// Length of the valid UTF-8 sequence at APos (1 to 4), or 0 when the bytes
// there are not one (overlong forms, surrogates and values above U+10FFFF
// included).
size_t Utf8SequenceLength(std::string_view AText, size_t APos, char32_t& ACode)
{
    const auto B = [&](size_t I) { return static_cast<unsigned char>(AText[I]); };
    const unsigned char C0 = B(APos);
    if (C0 < 0x80) {
        ACode = C0;
        return 1;
    }
    size_t Length = 0;
    char32_t Code = 0;
    char32_t Min = 0;
    if ((C0 & 0xE0) == 0xC0) { Length = 2; Code = C0 & 0x1F; Min = 0x80; }
    else if ((C0 & 0xF0) == 0xE0) { Length = 3; Code = C0 & 0x0F; Min = 0x800; }
    else if ((C0 & 0xF8) == 0xF0) { Length = 4; Code = C0 & 0x07; Min = 0x10000; }
    else return 0;
    if (APos + Length > AText.size())
        return 0;
    for (size_t I = 1; I < Length; ++I) {
        if ((B(APos + I) & 0xC0) != 0x80)
            return 0;
        Code = (Code << 6) | (B(APos + I) & 0x3F);
    }
    if (Code < Min || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF))
        return 0;
    ACode = Code;
    return Length;
}

bool IsLeadByte(unsigned char AByte)
{
    return (AByte >= 0x81 && AByte <= 0x9F) || (AByte >= 0xE0 && AByte <= 0xFC);
}

bool IsTrailByte(unsigned char AByte)
{
    return AByte >= 0x40 && AByte <= 0xFC && AByte != 0x7F;
}

// The code page tables, built once from the C library's converter. The
// encoder keeps only mappings that read back to the same character: the C
// library maps a few characters (U+301C, U+00A5 and others) onto bytes that
// decode to a different one, which would silently change the text.
class TCp932Tables {
public:
    static const TCp932Tables& Get()
    {
        static const TCp932Tables Tables;
        return Tables;
    }

    // 0 for a byte that is no character by itself (a lead byte or invalid).
    std::array<char32_t, 256> Single{};
    // Indexed by lead byte * 256 + trail byte; 0 where nothing is mapped.
    std::vector<char32_t> Double = std::vector<char32_t>(65536, 0);
    // Indexed by a BMP code point: 0 unmappable, below 0x100 a single byte,
    // otherwise lead byte * 256 + trail byte.
    std::vector<uint16_t> Encode = std::vector<uint16_t>(65536, 0);

private:
    TCp932Tables()
    {
        const iconv_t ToUtf8 = iconv_open("UTF-8", "CP932");
        const iconv_t FromUtf8 = iconv_open("CP932", "UTF-8");
        if (ToUtf8 == reinterpret_cast<iconv_t>(-1) || FromUtf8 == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("iconv: code page 932 is not available");
        for (unsigned B = 0; B < 0x80; ++B)
            Single[B] = B;
        for (unsigned B = 0x80; B < 0x100; ++B)
            if (!IsLeadByte(static_cast<unsigned char>(B)))
                Single[B] = Convert(ToUtf8, std::string(1, static_cast<char>(B)));
        for (unsigned Lead = 0x81; Lead <= 0xFC; ++Lead) {
            if (!IsLeadByte(static_cast<unsigned char>(Lead)))
                continue;
            for (unsigned Trail = 0x40; Trail <= 0xFC; ++Trail) {
                if (!IsTrailByte(static_cast<unsigned char>(Trail)))
                    continue;
                const char Bytes[2] = {static_cast<char>(Lead), static_cast<char>(Trail)};
                Double[Lead * 256 + Trail] = Convert(ToUtf8, std::string(Bytes, 2));
            }
        }
        for (char32_t Code = 0x80; Code < 0x10000; ++Code) {
            if (Code >= 0xD800 && Code <= 0xDFFF)
                continue;
            std::string Utf8;
            AppendUtf8(Utf8, Code);
            const std::string Bytes = ConvertBytes(FromUtf8, Utf8);
            if (Bytes.size() == 1 && Single[static_cast<unsigned char>(Bytes[0])] == Code)
                Encode[Code] = static_cast<unsigned char>(Bytes[0]);
            else if (Bytes.size() == 2) {
                const unsigned Index = static_cast<unsigned char>(Bytes[0]) * 256u
                                       + static_cast<unsigned char>(Bytes[1]);
                if (Double[Index] == Code)
                    Encode[Code] = static_cast<uint16_t>(Index);
            }
        }
        iconv_close(ToUtf8);
        iconv_close(FromUtf8);
    }

    static std::string ConvertBytes(iconv_t AConverter, const std::string& AInput)
    {
        iconv(AConverter, nullptr, nullptr, nullptr, nullptr);
        char Output[16];
        char* In = const_cast<char*>(AInput.data());
        size_t InLeft = AInput.size();
        char* Out = Output;
        size_t OutLeft = sizeof Output;
        if (iconv(AConverter, &In, &InLeft, &Out, &OutLeft) == static_cast<size_t>(-1) || InLeft != 0)
            return {};
        return std::string(Output, static_cast<size_t>(Out - Output));
    }

    // The one character the bytes decode to, or 0.
    static char32_t Convert(iconv_t AConverter, const std::string& ABytes)
    {
        const std::string Utf8 = ConvertBytes(AConverter, ABytes);
        char32_t Code = 0;
        // Every character of code page 932 lies in the basic plane.
        if (Utf8.empty() || Utf8SequenceLength(Utf8, 0, Code) != Utf8.size() || Code > 0xFFFF)
            return 0;
        return Code;
    }
};

std::string DecodeUtf16(std::string_view ABytes, bool ABigEndian)
{
    std::string Result;
    Result.reserve(ABytes.size() * 3 / 2);
    const size_t Units = ABytes.size() / 2;
    const auto Unit = [&](size_t I) -> char32_t {
        const auto Hi = static_cast<unsigned char>(ABytes[2 * I + (ABigEndian ? 0 : 1)]);
        const auto Lo = static_cast<unsigned char>(ABytes[2 * I + (ABigEndian ? 1 : 0)]);
        return (char32_t{Hi} << 8) | Lo;
    };
    for (size_t I = 0; I < Units; ++I) {
        const char32_t U = Unit(I);
        if (U == 0) {
            AppendUtf8(Result, kReplacement);
        } else if (U >= 0xD800 && U <= 0xDBFF && I + 1 < Units && Unit(I + 1) >= 0xDC00
            && Unit(I + 1) <= 0xDFFF) {
            AppendUtf8(Result, 0x10000 + ((U - 0xD800) << 10) + (Unit(I + 1) - 0xDC00));
            ++I;
        } else if (U >= 0xD800 && U <= 0xDFFF) {
            AppendUtf8(Result, kReplacement);
        } else {
            AppendUtf8(Result, U);
        }
    }
    if (ABytes.size() % 2 != 0)
        AppendUtf8(Result, kReplacement);
    return Result;
}

} // namespace

std::string DecodeUtf8(std::string_view ABytes)
{
    std::string Result;
    Result.reserve(ABytes.size());
    size_t Pos = 0;
    while (Pos < ABytes.size()) {
        // Runs of valid characters are copied at once.
        const size_t Start = Pos;
        char32_t Code = 0;
        size_t Length = 0;
        while (Pos < ABytes.size() && ABytes[Pos] != '\0'
               && (Length = Utf8SequenceLength(ABytes, Pos, Code)) != 0)
            Pos += Length;
        Result.append(ABytes.substr(Start, Pos - Start));
        if (Pos < ABytes.size()) {
            AppendUtf8(Result, kReplacement);
            ++Pos;
        }
    }
    return Result;
}

bool LooksLikeUtf8(std::string_view ABytes)
{
    TTvrUtf8Look Look;
    Look.Add(ABytes);
    return Look.LooksLikeUtf8();
}

namespace {

// The length of the sequence a lead byte starts (2 to 4), or 0 for a byte
// that starts none.
size_t Utf8LeadLength(unsigned char AByte)
{
    if ((AByte & 0xE0) == 0xC0)
        return 2;
    if ((AByte & 0xF0) == 0xE0)
        return 3;
    if ((AByte & 0xF8) == 0xF0)
        return 4;
    return 0;
}

} // namespace

void TTvrUtf8Look::Add(std::string_view ABytes)
{
    if (FInvalid)
        return;
    size_t Pos = 0;
    char32_t Code = 0;
    if (FCarryLength > 0) {
        const size_t Needed = Utf8LeadLength(static_cast<unsigned char>(FCarry[0]));
        while (FCarryLength < Needed && Pos < ABytes.size())
            FCarry[FCarryLength++] = ABytes[Pos++];
        if (FCarryLength < Needed)
            return;
        if (Utf8SequenceLength(std::string_view(FCarry, Needed), 0, Code) != Needed) {
            FInvalid = true;
            return;
        }
        FMultiByte = true;
        FCarryLength = 0;
    }
    const size_t Size = ABytes.size();
    while (Pos < Size) {
        // Eight ASCII bytes at a time: most of every file is ASCII.
        uint64_t Word = 0;
        if (Size - Pos >= 8 && (std::memcpy(&Word, ABytes.data() + Pos, 8), (Word & 0x8080808080808080ull) == 0)) {
            Pos += 8;
            continue;
        }
        const auto Lead = static_cast<unsigned char>(ABytes[Pos]);
        if (Lead < 0x80) {
            ++Pos;
            continue;
        }
        const size_t Length = Utf8SequenceLength(ABytes, Pos, Code);
        if (Length != 0) {
            FMultiByte = true;
            Pos += Length;
            continue;
        }
        // A sequence the end of the piece cuts short is judged when the
        // next piece completes it.
        const size_t Needed = Utf8LeadLength(Lead);
        bool Cut = Needed > 0 && Pos + Needed > Size;
        for (size_t I = Pos + 1; Cut && I < Size; ++I)
            Cut = (static_cast<unsigned char>(ABytes[I]) & 0xC0) == 0x80;
        if (!Cut) {
            FInvalid = true;
            return;
        }
        FCarryLength = Size - Pos;
        std::memcpy(FCarry, ABytes.data() + Pos, FCarryLength);
        return;
    }
}

namespace {

// True when one of the eight bytes of the word is 0.
constexpr bool HasZeroByte(uint64_t AWord)
{
    return ((AWord - 0x0101010101010101ull) & ~AWord & 0x8080808080808080ull) != 0;
}

// Writes the UTF-8 form of a character of the basic plane, or U+FFFD for 0
// (a NUL, or bytes that map to nothing).
char* PutBmp(char* AOut, char32_t ACode)
{
    if (ACode == 0)
        ACode = kReplacement;
    if (ACode < 0x80) {
        *AOut++ = static_cast<char>(ACode);
    } else if (ACode < 0x800) {
        *AOut++ = static_cast<char>(0xC0 | (ACode >> 6));
        *AOut++ = static_cast<char>(0x80 | (ACode & 0x3F));
    } else {
        *AOut++ = static_cast<char>(0xE0 | (ACode >> 12));
        *AOut++ = static_cast<char>(0x80 | ((ACode >> 6) & 0x3F));
        *AOut++ = static_cast<char>(0x80 | (ACode & 0x3F));
    }
    return AOut;
}

} // namespace

std::string DecodeCp932(std::string_view ABytes)
{
    const TCp932Tables& Tables = TCp932Tables::Get();
    // No character of code page 932 takes more than three bytes in UTF-8,
    // and a single byte never more than three either.
    std::string Result(ABytes.size() * 3, '\0');
    char* Out = Result.data();
    const auto* In = reinterpret_cast<const unsigned char*>(ABytes.data());
    const auto* End = In + ABytes.size();
    while (In < End) {
        // Eight ASCII bytes at a time: most of every file is ASCII. A NUL
        // among them takes the slow way, which reads it as U+FFFD.
        uint64_t Word = 0;
        if (End - In >= 8 && (std::memcpy(&Word, In, 8), (Word & 0x8080808080808080ull) == 0)
            && !HasZeroByte(Word)) {
            std::memcpy(Out, In, 8);
            In += 8;
            Out += 8;
            continue;
        }
        const unsigned char B = *In;
        if (B < 0x80) {
            Out = PutBmp(Out, B);
            ++In;
        } else if (IsLeadByte(B) && End - In >= 2 && IsTrailByte(In[1])) {
            Out = PutBmp(Out, Tables.Double[B * 256u + In[1]]);
            In += 2;
        } else {
            Out = PutBmp(Out, Tables.Single[B]);
            ++In;
        }
    }
    Result.resize(static_cast<size_t>(Out - Result.data()));
    return Result;
}

namespace {

bool IsValidUtf8(std::string_view ABytes)
{
    size_t Pos = 0;
    while (Pos < ABytes.size()) {
        char32_t Code = 0;
        const size_t Length = Utf8SequenceLength(ABytes, Pos, Code);
        if (Length == 0 || Code == 0)
            return false;
        Pos += Length;
    }
    return true;
}

// Code page 932 to UTF-8 when every byte belongs to a character the code
// page maps; false otherwise.
bool TryDecodeCp932(std::string_view ABytes, std::string& AResult)
{
    const TCp932Tables& Tables = TCp932Tables::Get();
    AResult.clear();
    const auto* In = reinterpret_cast<const unsigned char*>(ABytes.data());
    const auto* End = In + ABytes.size();
    while (In < End) {
        char32_t Code = 0;
        if (IsLeadByte(*In)) {
            if (End - In < 2 || !IsTrailByte(In[1]))
                return false;
            Code = Tables.Double[*In * 256u + In[1]];
            In += 2;
        } else {
            Code = Tables.Single[*In];
            ++In;
        }
        if (Code == 0)
            return false;
        AppendUtf8(AResult, Code);
    }
    return true;
}

} // namespace

std::string FileNameText(std::string_view AName)
{
    if (IsValidUtf8(AName))
        return std::string(AName);
    std::string Text;
    if (TryDecodeCp932(AName, Text))
        return Text;
    return DecodeUtf8(AName);
}

bool TryEncodeCp932(std::string_view AText, std::string& AResult)
{
    AResult.resize(AText.size());
    size_t Length = 0;
    const bool Result = TryEncodeCp932(AText, AResult.data(), Length);
    AResult.resize(Length);
    return Result;
}

bool TryEncodeCp932(std::string_view AText, char* AOut, size_t& ALength)
{
    const TCp932Tables& Tables = TCp932Tables::Get();
    char* Out = AOut;
    const auto* In = reinterpret_cast<const unsigned char*>(AText.data());
    const auto* End = In + AText.size();
    ALength = 0;
    while (In < End) {
        // Eight ASCII bytes at a time: most of every book is ASCII.
        uint64_t Word = 0;
        if (End - In >= 8 && (std::memcpy(&Word, In, 8), (Word & 0x8080808080808080ull) == 0)) {
            std::memcpy(Out, In, 8);
            In += 8;
            Out += 8;
            continue;
        }
        if (*In < 0x80) {
            *Out++ = static_cast<char>(*In++);
            continue;
        }
        // Three-byte sequences (kana and kanji) are the common case.
        char32_t Code = 0;
        size_t Length = 0;
        if ((In[0] & 0xF0) == 0xE0 && End - In >= 3 && (In[1] & 0xC0) == 0x80 && (In[2] & 0xC0) == 0x80) {
            Code = (char32_t{In[0] & 0x0Fu} << 12) | (char32_t{In[1] & 0x3Fu} << 6) | (In[2] & 0x3Fu);
            Length = (Code >= 0x800 && (Code < 0xD800 || Code > 0xDFFF)) ? 3 : 0;
        } else {
            Length = Utf8SequenceLength(AText, static_cast<size_t>(In - reinterpret_cast<const unsigned char*>(AText.data())), Code);
        }
        if (Length == 0 || Code >= 0x10000 || Tables.Encode[Code] == 0)
            return false;
        // Every character of code page 932 takes no more bytes than in UTF-8.
        const uint16_t Bytes = Tables.Encode[Code];
        if (Bytes >= 0x100)
            *Out++ = static_cast<char>(Bytes >> 8);
        *Out++ = static_cast<char>(Bytes & 0xFF);
        In += Length;
    }
    ALength = static_cast<size_t>(Out - AOut);
    return true;
}

TTvrFileText::TTvrFileText(std::string ABytes) : FBytes(std::move(ABytes))
{
    const std::string_view Bytes(FBytes);
    if (Bytes.substr(0, 2) == "\xFF\xFE" || Bytes.substr(0, 2) == "\xFE\xFF") {
        FBytes = DecodeUtf16(Bytes.substr(2), Bytes[0] == '\xFE');
        FEnd = FBytes.size();
        return;
    }
    const bool Utf8Mark = Bytes.substr(0, 3) == "\xEF\xBB\xBF";
    FBegin = Utf8Mark ? 3 : 0;
    FEnd = Bytes.size();
    FEncoding = Utf8Mark || LooksLikeUtf8(Body()) ? TTvrTextEncoding::Utf8 : TTvrTextEncoding::Cp932;
}

std::string TTvrFileText::Decode(std::string_view APart) const
{
    return FEncoding == TTvrTextEncoding::Utf8 ? DecodeUtf8(APart) : DecodeCp932(APart);
}

std::string DecodeFileText(std::string_view ABytes)
{
    const TTvrFileText Text{std::string(ABytes)};
    return Text.Decode(Text.Body());
}

} // namespace tavrel
