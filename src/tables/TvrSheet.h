// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tables/TvrCodePage.h"
#include "tables/TvrValue.h"

namespace tavrel {

// How a column's texts are converted when a file is loaded.
enum TTvrFieldType { sftString, sftInteger, sftDouble, sftDate };

// One column of a file: title, cell type and display width in characters.
struct TTvrFieldDef {
    std::string Name;
    TTvrFieldType FieldType = sftString;
    int32_t CharCount = 0;
};

using TTvrFieldDefDynArray = std::vector<TTvrFieldDef>;

// An immutable copy of one column definition.
class TTvrField {
public:
    explicit TTvrField(const TTvrFieldDef& AFieldDef) : FDef(AFieldDef) {}
    const std::string& Name() const { return FDef.Name; }
    TTvrFieldType FieldType() const { return FDef.FieldType; }
    int32_t CharCount() const { return FDef.CharCount; }

private:
    const TTvrFieldDef FDef;
};

class TTvrFields {
public:
    int Count() const { return static_cast<int>(FFields.size()); }
    const TTvrField& Fields(int AIndex) const { return *FFields.at(static_cast<size_t>(AIndex)); }
    int Add(const TTvrFieldDef& AFieldDef);
    void Clear();
    ~TTvrFields() { Clear(); }

private:
    std::vector<std::unique_ptr<TTvrField>> FFields;
};

// One table loaded from a CSV file: typed cells by column and row, titled by
// the column definitions it was loaded with (the files have no header line).
//
// The sheet keeps the bytes of the file and decodes and converts a row when
// it is read. The run keeps every file it reads or writes as a sheet, millions
// of rows together; holding each cell as a separate value would take several
// times the memory of the files themselves.
class TTvrSheet {
public:
    // An empty sheet. Its time stamp is 0 until a file is loaded: the engine
    // does not read the clock.
    TTvrSheet() = default;
    TTvrSheet(const TTvrSheet&) = delete;
    TTvrSheet& operator=(const TTvrSheet&) = delete;

    // Replaces the whole content with the file's. Raises ETvrError with the
    // platform's text when the file's status or content cannot be read, or
    // when it is not a regular file; the sheet then keeps its new fields and
    // file name and no rows. A time outside the years a date holds leaves
    // the time unknown.
    void LoadFromFile(const std::string& AFileName, std::span<const TTvrFieldDef> AFieldDefs,
                      const TTvrRegionalSettings& ASettings);
    // The same, but the file's content is read only the first time a row is
    // asked for (RowCount, Cells), and again at the next time when that read
    // failed: the fields, the file name and the file's time are set at once,
    // so that a list of a run's files shows them without reading any (the
    // time unknown when the file's status cannot be read now). RowCount and
    // Cells raise ETvrError with the platform's text when the content cannot
    // be read then.
    void LoadFromFileDeferred(const std::string& AFileName, std::span<const TTvrFieldDef> AFieldDefs,
                              const TTvrRegionalSettings& ASettings);
    // False while a deferred content has not been read yet.
    bool ContentRead() const { return !FDeferred; }
    void Clear();

    // A copy of one cell: null, the text exactly as split (text columns), or
    // the lenient conversion of the column's type.
    TTvrValue Cells(int ACol, int ARow) const;
    const TTvrFields& Fields() const { return FFields; }
    const std::string& FileName() const { return FFileName; }
    // The file's last-modification time in local time; 0 when it is not
    // known (see FileTimeStampKnown).
    TTvrDate FileTimeStamp() const { return FFileTimeStamp; }
    // False when the file's time lies outside the years a date holds: it is
    // shown as unknown then.
    bool FileTimeStampKnown() const { return FFileTimeStampKnown; }
    int ColCount() const { return FFields.Count(); }
    int RowCount() const;

private:
    void SetFile(const std::string& AFileName, std::span<const TTvrFieldDef> AFieldDefs,
                 const TTvrRegionalSettings& ASettings);
    void ReadContent() const;
    const std::vector<std::string>& RowFields(int ARow) const;

    TTvrFields FFields;
    std::string FFileName;
    TTvrDate FFileTimeStamp;
    bool FFileTimeStampKnown = false;
    TTvrRegionalSettings FSettings;
    // The content, read at the first row asked for when deferred.
    mutable bool FDeferred = false;
    mutable TTvrFileText FText;
    mutable std::vector<std::string_view> FLines;
    // The fields of the row read last: a viewer reads a row cell by cell.
    mutable int FCachedRow = -1;
    mutable std::vector<std::string> FCachedFields;
};

class TTvrSheets {
public:
    int Count() const { return static_cast<int>(FSheets.size()); }
    TTvrSheet& Sheets(int AIndex) const { return *FSheets.at(static_cast<size_t>(AIndex)); }
    int Add();
    // Appends a sheet loaded elsewhere and returns its index.
    int Add(std::unique_ptr<TTvrSheet> ASheet);
    void Clear();
    ~TTvrSheets() { Clear(); }

private:
    std::vector<std::unique_ptr<TTvrSheet>> FSheets;
};

} // namespace tavrel
