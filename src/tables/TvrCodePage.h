// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>
#include <string_view>

namespace tavrel {

// Text encodings of the files. Text in memory is always UTF-8.

// Decodes the bytes of a file: a byte-order mark decides (UTF-8, UTF-16 LE or
// BE; the mark is dropped); without one, bytes that are valid UTF-8 holding at
// least one multi-byte sequence are UTF-8, everything else is code page 932.
// Bytes that do not decode become U+FFFD, so decoding never fails. A NUL
// character reads as U+FFFD too, like an undecodable byte, and the text goes
// on after it: a stray NUL in the middle of a file must not silently drop
// every row after it.
std::string DecodeFileText(std::string_view ABytes);

enum class TTvrTextEncoding { Utf8, Cp932 };

// The bytes of a file made ready to be read line by line without decoding
// the whole text: the byte-order mark dropped, UTF-16 turned into UTF-8,
// the encoding of the rest chosen as DecodeFileText chooses. Lines can be split on the undecoded bytes, because neither UTF-8
// nor code page 932 uses the bytes of CR and LF inside a character.
class TTvrFileText {
public:
    TTvrFileText() = default;
    explicit TTvrFileText(std::string ABytes);
    std::string_view Body() const { return std::string_view(FBytes).substr(FBegin, FEnd - FBegin); }
    TTvrTextEncoding Encoding() const { return FEncoding; }
    // A part of the body as UTF-8 text.
    std::string Decode(std::string_view APart) const;

private:
    std::string FBytes;
    size_t FBegin = 0;
    size_t FEnd = 0;
    TTvrTextEncoding FEncoding = TTvrTextEncoding::Utf8;
};

// True when bytes without a byte-order mark are read as UTF-8: valid UTF-8
// holding at least one multi-byte sequence.
bool LooksLikeUtf8(std::string_view ABytes);

// LooksLikeUtf8 of bytes given in pieces, all taken together: a writer that
// makes a file piece by piece learns it without keeping the pieces. A
// sequence may be cut between two pieces.
class TTvrUtf8Look {
public:
    void Add(std::string_view ABytes);
    bool LooksLikeUtf8() const { return !FInvalid && FCarryLength == 0 && FMultiByte; }

private:
    bool FInvalid = false;
    bool FMultiByte = false;
    // The start of a sequence that the next piece goes on with.
    char FCarry[4] = {};
    size_t FCarryLength = 0;
};

// UTF-8 bytes as text: each byte that is not part of a valid sequence, and
// each NUL, becomes U+FFFD.
std::string DecodeUtf8(std::string_view ABytes);

// Code page 932 to UTF-8; undecodable bytes become U+FFFD.
std::string DecodeCp932(std::string_view ABytes);

// The text of a file name (or a path) as the user reads it. A name is bytes
// and need not be UTF-8: a USB stick written on Windows holds its Japanese
// names as code page 932 bytes. A name that is valid UTF-8 is itself; any
// other is read as code page 932 when every byte of it decodes, and
// otherwise keeps its valid UTF-8 with U+FFFD for each bad byte. It is for
// showing a name and matching a keyword only: every file operation keeps the
// name's own bytes.
std::string FileNameText(std::string_view AName);

// UTF-8 to code page 932. Returns false when the text holds a character that
// code page 932 cannot hold exactly (reading the bytes back would not give
// the same character), leaving AResult unspecified.
[[nodiscard]] bool TryEncodeCp932(std::string_view AText, std::string& AResult);
// The same into AOut, which has room for AText.size() bytes (no character
// takes more bytes in code page 932 than in UTF-8); ALength is the number of
// bytes written. A writer reuses one buffer for every piece of a file.
[[nodiscard]] bool TryEncodeCp932(std::string_view AText, char* AOut, size_t& ALength);

} // namespace tavrel
