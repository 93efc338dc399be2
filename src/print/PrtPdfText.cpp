// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#include "print/PrtPdfText.h"

#include <QRawFont>
#include <QtEndian>
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

namespace tavrel {

namespace {

// ---- Code points and UTF-16 ----------------------------------------------

std::u16string ToUnits(char32_t ACodePoint)
{
    if (ACodePoint < 0x10000)
        return std::u16string(1, static_cast<char16_t>(ACodePoint));
    const char32_t V = ACodePoint - 0x10000;
    return {static_cast<char16_t>(0xD800 + (V >> 10)), static_cast<char16_t>(0xDC00 + (V & 0x3FF))};
}

// The one code point the units spell, or none.
std::optional<char32_t> SingleCodePoint(const std::u16string& AUnits)
{
    if (AUnits.size() == 1 && !QChar::isSurrogate(AUnits[0]))
        return AUnits[0];
    if (AUnits.size() == 2 && QChar::isHighSurrogate(AUnits[0]) && QChar::isLowSurrogate(AUnits[1]))
        return QChar::surrogateToUcs4(AUnits[0], AUnits[1]);
    return std::nullopt;
}

// ---- The CMap program ------------------------------------------------------

struct TToken {
    enum TKind { Hex, Open, Close, Word } Kind;
    QByteArray Text;
    qsizetype Offset;
};

bool IsSpace(char AChar) { return AChar == ' ' || AChar == '\n' || AChar == '\r' || AChar == '\t' || AChar == '\f'; }

// The tokens of the CMap from AFrom on; none when a hex string is not
// closed.
std::optional<std::vector<TToken>> Tokenize(const QByteArray& AText, qsizetype AFrom)
{
    std::vector<TToken> Tokens;
    qsizetype I = AFrom;
    while (I < AText.size()) {
        const char C = AText[I];
        if (IsSpace(C)) {
            ++I;
        } else if (C == '<') {
            const qsizetype End = AText.indexOf('>', I);
            if (End < 0)
                return std::nullopt;
            Tokens.push_back({TToken::Hex, AText.mid(I + 1, End - I - 1), I});
            I = End + 1;
        } else if (C == '[' || C == ']') {
            Tokens.push_back({C == '[' ? TToken::Open : TToken::Close, QByteArray(1, C), I});
            ++I;
        } else {
            qsizetype End = I;
            while (End < AText.size() && !IsSpace(AText[End]) && AText[End] != '<' && AText[End] != '[' &&
                   AText[End] != ']')
                ++End;
            Tokens.push_back({TToken::Word, AText.mid(I, End - I), I});
            I = End;
        }
    }
    return Tokens;
}

std::optional<uint32_t> HexValue(const QByteArray& AHex)
{
    bool Ok = false;
    const uint32_t Value = AHex.toUInt(&Ok, 16);
    return Ok ? std::optional<uint32_t>(Value) : std::nullopt;
}

// A destination string: UTF-16BE, four hex digits to a unit.
std::optional<std::u16string> HexUnits(const QByteArray& AHex)
{
    if (AHex.isEmpty() || AHex.size() % 4 != 0)
        return std::nullopt;
    std::u16string Units;
    for (qsizetype I = 0; I < AHex.size(); I += 4) {
        const auto Unit = HexValue(AHex.mid(I, 4));
        if (!Unit)
            return std::nullopt;
        Units.push_back(static_cast<char16_t>(*Unit));
    }
    return Units;
}

QByteArray UnitsHex(const std::u16string& AUnits)
{
    QByteArray Hex;
    for (const char16_t Unit : AUnits)
        Hex += QByteArray::number(Unit, 16).toUpper().rightJustified(4, '0');
    return Hex;
}

// The glyph-to-text entries of a CMap's bfrange and bfchar blocks, and
// where they stand in its text; none for a program this does not read.
struct TCMapEntries {
    std::map<uint32_t, std::u16string> Map;
    qsizetype Begin = 0;
    qsizetype End = 0;
    int CodeWidth = 4;
};

std::optional<TCMapEntries> ReadCMapEntries(const QByteArray& ACMap)
{
    const qsizetype Range = ACMap.indexOf("beginbfrange");
    const qsizetype Char = ACMap.indexOf("beginbfchar");
    const qsizetype First = Range < 0 ? Char : (Char < 0 ? Range : std::min(Range, Char));
    const qsizetype EndCMap = ACMap.indexOf("endcmap");
    if (First < 0 || EndCMap < First)
        return std::nullopt;
    TCMapEntries Entries;
    // The block's count stands on the line of its keyword.
    Entries.Begin = ACMap.lastIndexOf('\n', First) + 1;
    Entries.End = EndCMap;
    const auto Tokens = Tokenize(ACMap.left(EndCMap), Entries.Begin);
    if (!Tokens)
        return std::nullopt;
    const std::vector<TToken>& T = *Tokens;
    size_t I = 0;
    const auto Next = [&]() -> const TToken* { return I < T.size() ? &T[I++] : nullptr; };
    bool WidthSet = false;
    const auto Code = [&](const TToken* AToken) -> std::optional<uint32_t> {
        if (AToken == nullptr || AToken->Kind != TToken::Hex)
            return std::nullopt;
        if (!WidthSet) {
            Entries.CodeWidth = static_cast<int>(AToken->Text.size());
            WidthSet = true;
        }
        return HexValue(AToken->Text);
    };
    while (I < T.size()) {
        const TToken& Token = *Next();
        if (Token.Kind != TToken::Word)
            return std::nullopt;
        if (Token.Text == "beginbfchar") {
            for (const TToken* Src = Next(); Src && !(Src->Kind == TToken::Word && Src->Text == "endbfchar");
                 Src = Next()) {
                const auto Cid = Code(Src);
                const TToken* Dst = Next();
                if (!Cid || Dst == nullptr || Dst->Kind != TToken::Hex)
                    return std::nullopt;
                const auto Units = HexUnits(Dst->Text);
                if (!Units)
                    return std::nullopt;
                Entries.Map[*Cid] = *Units;
            }
        } else if (Token.Text == "beginbfrange") {
            for (const TToken* Lo = Next(); Lo && !(Lo->Kind == TToken::Word && Lo->Text == "endbfrange");
                 Lo = Next()) {
                const auto Low = Code(Lo);
                const auto High = Code(Next());
                const TToken* Dst = Next();
                if (!Low || !High || *High < *Low || Dst == nullptr)
                    return std::nullopt;
                if (Dst->Kind == TToken::Hex) {
                    auto Units = HexUnits(Dst->Text);
                    if (!Units)
                        return std::nullopt;
                    for (uint32_t Cid = *Low; Cid <= *High; ++Cid) {
                        Entries.Map[Cid] = *Units;
                        ++Units->back();
                    }
                } else if (Dst->Kind == TToken::Open) {
                    uint32_t Cid = *Low;
                    for (const TToken* Item = Next(); Item && Item->Kind != TToken::Close; Item = Next()) {
                        const auto Units = Item->Kind == TToken::Hex ? HexUnits(Item->Text) : std::nullopt;
                        if (!Units)
                            return std::nullopt;
                        Entries.Map[Cid++] = *Units;
                    }
                } else {
                    return std::nullopt;
                }
            }
        } else {
            // The count of the next block.
            bool Number = false;
            Token.Text.toInt(&Number);
            if (!Number)
                return std::nullopt;
        }
    }
    return Entries;
}

// ---- The PDF file ----------------------------------------------------------

struct TXrefEntry {
    qsizetype Offset = 0;
    int Generation = 0;
    bool InUse = false;
};

struct TPdfFile {
    std::map<int, TXrefEntry> Entries;
    qsizetype XrefOffset = 0;
    QByteArray Trailer;
};

std::optional<qsizetype> NumberAt(const QByteArray& AText, qsizetype& APos)
{
    while (APos < AText.size() && IsSpace(AText[APos]))
        ++APos;
    const qsizetype Start = APos;
    while (APos < AText.size() && AText[APos] >= '0' && AText[APos] <= '9')
        ++APos;
    if (APos == Start)
        return std::nullopt;
    return AText.mid(Start, APos - Start).toLongLong();
}

std::optional<TPdfFile> ReadXref(const QByteArray& APdf)
{
    TPdfFile File;
    const qsizetype StartXref = APdf.lastIndexOf("startxref");
    if (StartXref < 0)
        return std::nullopt;
    qsizetype Pos = StartXref + 9;
    const auto Xref = NumberAt(APdf, Pos);
    if (!Xref || *Xref >= StartXref || !APdf.mid(*Xref, 4).startsWith("xref"))
        return std::nullopt;
    File.XrefOffset = *Xref;
    Pos = *Xref + 4;
    for (;;) {
        while (Pos < APdf.size() && IsSpace(APdf[Pos]))
            ++Pos;
        if (APdf.mid(Pos, 7) == "trailer")
            break;
        const auto First = NumberAt(APdf, Pos);
        const auto Count = NumberAt(APdf, Pos);
        if (!First || !Count)
            return std::nullopt;
        for (qsizetype N = 0; N < *Count; ++N) {
            const auto Offset = NumberAt(APdf, Pos);
            const auto Generation = NumberAt(APdf, Pos);
            while (Pos < APdf.size() && IsSpace(APdf[Pos]))
                ++Pos;
            if (!Offset || !Generation || Pos >= APdf.size() || (APdf[Pos] != 'n' && APdf[Pos] != 'f'))
                return std::nullopt;
            File.Entries[static_cast<int>(*First + N)] = {*Offset, static_cast<int>(*Generation), APdf[Pos] == 'n'};
            ++Pos;
        }
    }
    File.Trailer = APdf.mid(Pos, StartXref - Pos);
    return File;
}

// The object's bytes, from "N G obj" to the next object or the
// cross-reference table.
std::map<int, QByteArray> ObjectBodies(const QByteArray& APdf, const TPdfFile& AFile, qsizetype& AFirstOffset)
{
    std::vector<std::pair<qsizetype, int>> Order;
    for (const auto& [Number, Entry] : AFile.Entries)
        if (Entry.InUse)
            Order.emplace_back(Entry.Offset, Number);
    std::sort(Order.begin(), Order.end());
    std::map<int, QByteArray> Bodies;
    AFirstOffset = Order.empty() ? AFile.XrefOffset : Order.front().first;
    for (size_t I = 0; I < Order.size(); ++I) {
        const qsizetype End = I + 1 < Order.size() ? Order[I + 1].first : AFile.XrefOffset;
        Bodies[Order[I].second] = APdf.mid(Order[I].first, End - Order[I].first);
    }
    return Bodies;
}

// The dictionary of an object: from its first "<<" to the matching ">>".
std::optional<std::pair<qsizetype, qsizetype>> DictionarySpan(const QByteArray& ABody)
{
    const qsizetype Open = ABody.indexOf("<<");
    if (Open < 0)
        return std::nullopt;
    int Depth = 0;
    for (qsizetype I = Open; I + 1 < ABody.size(); ++I) {
        if (ABody[I] == '<' && ABody[I + 1] == '<') {
            ++Depth;
            ++I;
        } else if (ABody[I] == '>' && ABody[I + 1] == '>') {
            ++I;
            if (--Depth == 0)
                return std::make_pair(Open, I + 1);
        }
    }
    return std::nullopt;
}

// "N G R" after the key in the dictionary, or a direct number (as N).
struct TValueRef {
    qsizetype Number = 0;
    bool Indirect = false;
};

std::optional<TValueRef> KeyValue(const QByteArray& ADictionary, const char* AKey)
{
    const QByteArray Key(AKey);
    qsizetype At = 0;
    while ((At = ADictionary.indexOf(Key, At)) >= 0) {
        qsizetype Pos = At + Key.size();
        // "/Length1" is not "/Length".
        if (Pos < ADictionary.size() && (std::isalnum(static_cast<unsigned char>(ADictionary[Pos])) != 0)) {
            At = Pos;
            continue;
        }
        const auto Number = NumberAt(ADictionary, Pos);
        if (!Number)
            return std::nullopt;
        qsizetype Probe = Pos;
        const auto Generation = NumberAt(ADictionary, Probe);
        while (Probe < ADictionary.size() && IsSpace(ADictionary[Probe]))
            ++Probe;
        if (Generation && Probe < ADictionary.size() && ADictionary[Probe] == 'R')
            return TValueRef{*Number, true};
        return TValueRef{*Number, false};
    }
    return std::nullopt;
}

QByteArray Inflate(const QByteArray& AData)
{
    // qUncompress reads the expected size in front of a zlib stream and
    // grows its buffer when the guess is short.
    QByteArray Framed(4, '\0');
    qToBigEndian<quint32>(static_cast<quint32>(std::max<qsizetype>(AData.size() * 8, 4096)), Framed.data());
    Framed += AData;
    return qUncompress(Framed);
}

QByteArray Deflate(const QByteArray& AData) { return qCompress(AData, 9).mid(4); }

// The ToUnicode stream object rewritten through the aliases, or none when
// it is left as it is.
std::optional<QByteArray> MendStreamObject(int ANumber, const QByteArray& ABody,
                                           const std::map<int, QByteArray>& ABodies, const TPdfFile& AFile,
                                           const TPrtAliases& AAliases)
{
    const auto Dict = DictionarySpan(ABody);
    if (!Dict)
        return std::nullopt;
    const QByteArray Dictionary = ABody.mid(Dict->first, Dict->second - Dict->first);
    const qsizetype Keyword = ABody.indexOf("stream", Dict->second);
    if (Keyword < 0)
        return std::nullopt;
    qsizetype Data = Keyword + 6;
    if (ABody.mid(Data, 2) == "\r\n")
        Data += 2;
    else if (Data < ABody.size() && ABody[Data] == '\n')
        ++Data;
    else
        return std::nullopt;
    auto Length = KeyValue(Dictionary, "/Length");
    if (!Length)
        return std::nullopt;
    qsizetype Size = Length->Number;
    if (Length->Indirect) {
        const auto Found = ABodies.find(static_cast<int>(Length->Number));
        if (Found == ABodies.end())
            return std::nullopt;
        qsizetype Pos = Found->second.indexOf("obj");
        if (Pos < 0)
            return std::nullopt;
        Pos += 3;
        const auto Value = NumberAt(Found->second, Pos);
        if (!Value)
            return std::nullopt;
        Size = *Value;
    }
    if (Data + Size > ABody.size())
        return std::nullopt;
    const bool Flate = Dictionary.contains("/FlateDecode");
    if ((Dictionary.contains("/Filter") && !Flate) || Dictionary.contains("/DecodeParms"))
        return std::nullopt;
    const QByteArray Stored = ABody.mid(Data, Size);
    const QByteArray CMap = Flate ? Inflate(Stored) : Stored;
    if (CMap.isEmpty())
        return std::nullopt;
    const QByteArray Mended = MendCMap(CMap, AAliases);
    if (Mended == CMap)
        return std::nullopt;
    const QByteArray Written = Flate ? Deflate(Mended) : Mended;
    QByteArray Object = QByteArray::number(ANumber) + ' ' + QByteArray::number(AFile.Entries.at(ANumber).Generation) +
                        " obj\n<<\n/Length " + QByteArray::number(Written.size()) + '\n';
    if (Flate)
        Object += "/Filter /FlateDecode\n";
    Object += ">>\nstream\n" + Written + "\nendstream\nendobj\n";
    return Object;
}

} // namespace

void AddCodePoints(const QString& AText, std::set<char32_t>& ACodePoints)
{
    for (const char32_t C : AText.toUcs4())
        ACodePoints.insert(C);
}

TPrtAliases GlyphAliases(const std::set<char32_t>& ADrawn, const std::vector<QFont>& AFonts)
{
    TPrtAliases Aliases;
    for (const QFont& Font : AFonts) {
        const QRawFont Raw = QRawFont::fromFont(Font);
        if (!Raw.isValid())
            continue;
        // Every code point of the plane, as the PDF writer walks it: the
        // lowest one of each glyph is the one it writes into the map.
        std::vector<QChar> Plane(0x10000);
        for (char32_t U = 0; U < 0x10000; ++U)
            Plane[U] = QChar(static_cast<char16_t>(QChar::isSurrogate(U) ? 0 : U));
        std::vector<quint32> Glyphs(0x10000);
        int Count = static_cast<int>(Glyphs.size());
        if (!Raw.glyphIndexesForChars(Plane.data(), static_cast<int>(Plane.size()), Glyphs.data(), &Count))
            continue;
        std::unordered_map<quint32, char32_t> Lowest;
        for (char32_t U = 1; U < 0x10000; ++U)
            if (Glyphs[U] != 0 && !QChar::isSurrogate(U))
                Lowest.emplace(Glyphs[U], U);
        for (const char32_t C : ADrawn) {
            const QString Text = QString::fromUcs4(&C, 1);
            const QList<quint32> Glyph = Raw.glyphIndexesForString(Text);
            if (Glyph.size() != 1 || Glyph[0] == 0)
                continue;
            const auto Found = Lowest.find(Glyph[0]);
            if (Found == Lowest.end() || Found->second == C || ADrawn.count(Found->second) != 0)
                continue;
            Aliases.emplace(Found->second, C);
        }
    }
    return Aliases;
}

QByteArray MendCMap(const QByteArray& ACMap, const TPrtAliases& AAliases)
{
    auto Entries = ReadCMapEntries(ACMap);
    if (!Entries)
        return ACMap;
    bool Changed = false;
    for (auto& [Cid, Units] : Entries->Map) {
        const auto CodePoint = SingleCodePoint(Units);
        if (!CodePoint)
            continue;
        const auto Alias = AAliases.find(*CodePoint);
        if (Alias == AAliases.end())
            continue;
        Units = ToUnits(Alias->second);
        Changed = true;
    }
    if (!Changed)
        return ACMap;
    QByteArray Result = ACMap.left(Entries->Begin);
    auto It = Entries->Map.begin();
    while (It != Entries->Map.end()) {
        // A block holds at most 100 entries.
        QByteArray Block;
        int Count = 0;
        for (; It != Entries->Map.end() && Count < 100; ++It, ++Count)
            Block += '<' + QByteArray::number(It->first, 16).toUpper().rightJustified(Entries->CodeWidth, '0') +
                     "> <" + UnitsHex(It->second) + ">\n";
        Result += QByteArray::number(Count) + " beginbfchar\n" + Block + "endbfchar\n";
    }
    Result += ACMap.mid(Entries->End);
    return Result;
}

QByteArray MendToUnicodeMaps(const QByteArray& APdf, const TPrtAliases& AAliases)
{
    if (AAliases.empty())
        return APdf;
    const auto File = ReadXref(APdf);
    if (!File)
        return APdf;
    qsizetype FirstOffset = 0;
    std::map<int, QByteArray> Bodies = ObjectBodies(APdf, *File, FirstOffset);

    // The ToUnicode maps the fonts refer to.
    std::set<int> Maps;
    for (const auto& [Number, Body] : Bodies) {
        const qsizetype StreamAt = Body.indexOf("stream");
        const QByteArray Head = StreamAt < 0 ? Body : Body.left(StreamAt);
        if (const auto Ref = KeyValue(Head, "/ToUnicode"); Ref && Ref->Indirect)
            Maps.insert(static_cast<int>(Ref->Number));
    }
    bool Changed = false;
    for (const int Number : Maps) {
        const auto Body = Bodies.find(Number);
        if (Body == Bodies.end())
            continue;
        if (auto Mended = MendStreamObject(Number, Body->second, Bodies, *File, AAliases)) {
            Body->second = std::move(*Mended);
            Changed = true;
        }
    }
    if (!Changed)
        return APdf;

    // The objects in their old order, each at its new place.
    std::vector<std::pair<qsizetype, int>> Order;
    for (const auto& [Number, Entry] : File->Entries)
        if (Entry.InUse)
            Order.emplace_back(Entry.Offset, Number);
    std::sort(Order.begin(), Order.end());
    QByteArray Result = APdf.left(FirstOffset);
    std::map<int, qsizetype> Offsets;
    for (const auto& [OldOffset, Number] : Order) {
        Offsets[Number] = Result.size();
        Result += Bodies[Number];
    }
    const qsizetype Xref = Result.size();
    const int Size = File->Entries.empty() ? 0 : File->Entries.rbegin()->first + 1;
    Result += "xref\n0 " + QByteArray::number(Size) + '\n';
    for (int N = 0; N < Size; ++N) {
        const auto Entry = File->Entries.find(N);
        if (Entry == File->Entries.end()) {
            Result += "0000000000 65535 f \n";
            continue;
        }
        const qsizetype Offset = Entry->second.InUse ? Offsets[N] : Entry->second.Offset;
        Result += QByteArray::number(Offset).rightJustified(10, '0') + ' ' +
                  QByteArray::number(Entry->second.Generation).rightJustified(5, '0') +
                  (Entry->second.InUse ? " n \n" : " f \n");
    }
    Result += File->Trailer + "startxref\n" + QByteArray::number(Xref) + "\n%%EOF\n";
    return Result;
}

} // namespace tavrel
