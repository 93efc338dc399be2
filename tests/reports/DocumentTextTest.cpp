// SPDX-FileCopyrightText: 2026 Tavrel developers
// SPDX-License-Identifier: MIT

// A document's CSV text and file: the books' number and date texts in the
// regional settings, every line of the same number of fields, quoting, and
// writing with the books' routine.

#include "ReportsTestSupport.h"

#include <sys/stat.h>
#include <utime.h>

#include <stdexcept>

namespace tavrel::rpttest {
namespace {

using ::testing::ElementsAre;

TRptDocument FourFields()
{
    TRptDocument Doc;
    Doc.FileName = "99試験.csv";
    Doc.FieldDefs = {{"a", sftString, 4}, {"b", sftDouble, 4}, {"c", sftDouble, 4}, {"d", sftString, 4}};
    return Doc;
}

TEST(DocumentText, EveryLineHasTheDocumentsFieldsInTheBooksTexts)
{
    TRptDocument Doc = FourFields();
    Doc.AddRow(TRptRowKind::Title, {"決算 \"速報\", 暫定"});
    Doc.AddRow(TRptRowKind::Blank);
    Doc.AddRow(TRptRowKind::Item, {Ymd(2025, 4, 1), 1234.5, -0.25, static_cast<int32_t>(42)});
    Doc.AddRow(TRptRowKind::Item, {TTvrValue(), 1e15, 1.5e-6, TTvrValue()});
    // A row built without padding still has the document's fields.
    Doc.Rows.push_back(TRptRow{TRptRowKind::Note, {"注"}, false});
    EXPECT_THAT(TextLines(DocumentText(Doc, TTvrRegionalSettings{})),
                ElementsAre("\"決算 \"\"速報\"\", 暫定\",,,", ",,,", "2025/04/01,1234.5,-0.25,42", ",1E15,1.5E-6,",
                            "注,,,"));
}

TEST(DocumentText, NumbersAndDatesFollowTheRegionalSettings)
{
    TRptDocument Doc = FourFields();
    Doc.AddRow(TRptRowKind::Item, {Ymd(2025, 4, 1), 1234.5, 0.0, "x"});
    TTvrRegionalSettings Settings;
    Settings.DecimalSeparator = ",";
    Settings.ThousandSeparator = ".";
    Settings.DateSeparator = ".";
    Settings.ShortDateOrder = TTvrDateOrder::DMY;
    EXPECT_THAT(TextLines(DocumentText(Doc, Settings)), ElementsAre("01.04.2025,\"1234,5\",0,x"));
}

TEST(DocumentText, RowWithMoreFieldsThanTheDocumentIsAProgrammingError)
{
    TRptDocument Doc = FourFields();
    Doc.Rows.push_back(TRptRow{TRptRowKind::Item, {"1", "2", "3", "4", "5"}, false});
    EXPECT_THROW(DocumentText(Doc, TTvrRegionalSettings{}), std::logic_error);
}

TEST(WriteDocument, CodePage932OrUtf8WithAMarkAndAnUnchangedFileUntouched)
{
    TempFolder Temp;
    const std::string Path = Temp.Path("21収支決算書.csv");
    TRptDocument Doc = FourFields();
    Doc.AddRow(TRptRowKind::Item, {"会費収入", 1000.0});
    WriteDocument(Path, Doc, TTvrRegionalSettings{});
    EXPECT_EQ(ReadBytes(Path), test::ToCp932("会費収入,1000,,\r\n"));

    // Left alone when the content is the same: its time stays in the past.
    struct utimbuf Past {1000000000, 1000000000};
    ASSERT_EQ(::utime(Path.c_str(), &Past), 0);
    WriteDocument(Path, Doc, TTvrRegionalSettings{});
    struct stat St {};
    ASSERT_EQ(::stat(Path.c_str(), &St), 0);
    EXPECT_EQ(St.st_mtime, 1000000000);

    // A name that code page 932 cannot hold keeps every character.
    Doc.AddRow(TRptRowKind::Signature, {TTvrValue(), "監事", "𠮷田"});
    WriteDocument(Path, Doc, TTvrRegionalSettings{});
    EXPECT_EQ(ReadBytes(Path), "\xEF\xBB\xBF会費収入,1000,,\r\n,監事,𠮷田,\r\n");
    EXPECT_THAT(Temp.Entries(), ElementsAre("21収支決算書.csv"));
}

} // namespace
} // namespace tavrel::rpttest
