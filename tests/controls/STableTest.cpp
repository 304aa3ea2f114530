#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "SFileMem.h"
#include "SFilePath.h"
#include "STable.h"

namespace
{

// A memory stream holding exactly the bytes given, positioned at the start.
void Fill(SFileMem& file, const std::string& bytes)
{
    file.Allocate((int)bytes.size());
    if (!bytes.empty())
        file.Write(bytes.data(), (int)bytes.size());
    file.Rewind();
}

std::string Bytes(SFileMem& file)
{
    return file.GetBuffer() ? std::string((const char*)file.GetBuffer(), (size_t)file.GetSize()) : std::string();
}

std::string Saved(const STable& table, bool csv)
{
    SFileMem file;
    EXPECT_TRUE(table.SaveTable(&file, csv));
    return Bytes(file);
}

// The zero-terminated strings joined into one byte string.
std::string Strings(std::initializer_list<const char*> texts)
{
    std::string out;
    for (const char* text : texts)
    {
        out += text;
        out += '\0';
    }
    return out;
}

// A table of two named columns and three rows with awkward texts everywhere.
void BuildSample(STable& table)
{
    table.Clear();
    table.SetTableText("table text\r\nsecond line");
    table.SetTableProperties("kind=sample;version=2");
    ASSERT_EQ(0, table.InsertColumn("Name"));
    ASSERT_EQ(1, table.InsertColumn(" Size\t"));
    table.SetColumnText("Name", "the name");
    table.SetColumnTitle("Name", "Title, with \"quotes\"");
    table.SetColumnWidth("1", 120);
    const char* names[3] = {"plain", "comma, and \"quote\"", "line\r\nbreak"};
    const char* sizes[3] = {"", "  padded  ", "tab\there"};
    for (int r = 0; r < 3; r++)
    {
        ASSERT_EQ(r, table.InsertRow());
        table.SetCell(r, "Name", names[r]);
        table.SetCell(r, "size", sizes[r]);
        table.SetRowText(r, "row text");
        table.SetRowProperty(r, "height", IntToString(20 + r));
        *table.GetCellText(r, 0) = "cell text";
        *table.GetCellStyle(r, 1) = "halign=right";
    }
}

}

TEST(STable, ColumnNamesAndReferences)
{
    STable table;
    EXPECT_EQ(0, table.InsertColumn("Name"));
    EXPECT_EQ(-1, table.InsertColumn("NAME"));
    EXPECT_EQ(-1, table.InsertColumn("3"));
    EXPECT_EQ(-1, table.InsertColumn(" -12 "));
    EXPECT_EQ(1, table.InsertColumn(""));
    EXPECT_EQ(2, table.InsertColumn(""));
    EXPECT_EQ(0, table.InsertColumn("  First\t", 0));
    EXPECT_EQ(4, table.GetColumnCount());
    EXPECT_EQ(SString("First"), table.GetColumnName("0"));
    EXPECT_EQ(0, table.FindColumn("first"));
    EXPECT_EQ(1, table.GetColumnIndex("name"));
    EXPECT_EQ(3, table.GetColumnIndex("3"));
    EXPECT_EQ(-1, table.GetColumnIndex("4"));
    EXPECT_EQ(-1, table.GetColumnIndex("-1"));
    EXPECT_EQ(-1, table.GetColumnIndex(""));
    EXPECT_EQ(-1, table.GetColumnIndex("missing"));
    EXPECT_FALSE(table.DeleteColumn("missing"));
    EXPECT_TRUE(table.DeleteColumn("NAME"));
    EXPECT_EQ(-1, table.FindColumn("Name"));
    EXPECT_EQ(3, table.GetColumnCount());
}

TEST(STable, RowsCellsAndTheLastColumn)
{
    STable table;
    table.InsertColumn("a");
    table.InsertColumn("b");
    EXPECT_EQ(0, table.InsertRow());
    EXPECT_EQ(1, table.InsertRow(-5));
    EXPECT_EQ(0, table.InsertRow(0));
    table.SetCell(0, "a", "first");
    table.SetCell(2, "1", "last");
    table.SetCell(3, "a", "outside");
    table.SetCell(0, "c", "no column");
    ASSERT_EQ(3, table.GetRowCount());
    EXPECT_EQ(SString("first"), *table.GetCell(0, 0));
    EXPECT_EQ(SString("last"), *table.GetCell(2, 1));
    EXPECT_EQ(SString(""), *table.GetCell(1, 1));
    EXPECT_EQ(nullptr, table.GetCell(3, 0));
    EXPECT_EQ(nullptr, table.GetCell(0, 2));
    EXPECT_EQ(nullptr, table.GetCellStyle(-1, 0));
    // A new column gets a cell for every existing row.
    table.InsertColumn("c", 1);
    EXPECT_EQ(SString(""), *table.GetCellProperties(2, 1));
    EXPECT_EQ(SString("last"), *table.GetCell(2, 2));
    table.DeleteRows(5, 1);
    EXPECT_EQ(3, table.GetRowCount());
    table.DeleteRow(0, 1);
    EXPECT_EQ(2, table.GetRowCount());
    EXPECT_EQ(SString("last"), *table.GetCell(1, 2));
    table.DeleteRows(1, -1);
    EXPECT_EQ(1, table.GetRowCount());
    // Without columns there are no rows.
    EXPECT_TRUE(table.DeleteColumn("0"));
    EXPECT_TRUE(table.DeleteColumn("0"));
    EXPECT_TRUE(table.DeleteColumn("0"));
    EXPECT_EQ(0, table.GetColumnCount());
    EXPECT_EQ(0, table.GetRowCount());
}

TEST(STable, PropertyLists)
{
    struct GetCase { const char* list; const char* key; const char* value; };
    const GetCase gets[] = {
        {"title=Name;width=40", "width", "40"},
        {"title=Name;width=40", "WIDTH", "40"},
        {"title=Name;width=40;", "width", "40"},
        {"title=a=b", "title", "a=b"},
        {"flag;width=4", "flag", ""},
        {"", "width", ""},
        {"widths=4", "width", ""},
    };
    for (const GetCase& c : gets)
        EXPECT_EQ(SString(c.value), STable::GetListValue(c.list, c.key)) << c.list << " " << c.key;

    struct SetCase { const char* list; const char* key; const char* value; const char* result; };
    const SetCase sets[] = {
        {"title=Name;width=40", "width", "80", "title=Name;width=80"},
        {"", "width", "80", "width=80"},
        {"title=Name;WIDTH=40", "width", "80", "title=Name;WIDTH=80"},
        {"title=Name;width=40;", "height", "20", "title=Name;width=40;height=20"},
        {"title=Name;width=40", "width", "8;0", "title=Name;width=40"},
        {"title=Name", "1width", "80", "title=Name"},
        {"title=Name", "width_", "80", "title=Name"},
        {"title=Name", "_", "80", "title=Name"},
        {"title=Name", "_width2", "", "title=Name;_width2="},
    };
    for (const SetCase& c : sets)
        EXPECT_EQ(SString(c.result), STable::SetListValue(c.list, c.key, c.value)) << c.list << " " << c.key;

    STable table;
    table.InsertColumn("a");
    table.InsertRow();
    table.SetColumnWidth("a", -5);
    EXPECT_EQ(SString("width=0"), table.GetColumnProperties("a"));
    table.SetColumnWidth("0", 96);
    table.SetColumnTitle("a", "Alpha");
    EXPECT_EQ(96, table.GetColumnWidth("a"));
    EXPECT_EQ(SString("Alpha"), table.GetColumnTitle("0"));
    EXPECT_EQ(SString("width=96;title=Alpha"), table.GetColumnProperties("a"));
    table.SetRowProperty(0, "height", "31");
    EXPECT_EQ(31, table.GetRowHeight(0));
    EXPECT_EQ(0, table.GetRowHeight(1));
    EXPECT_EQ(SString(""), table.GetColumnProperty("b", "width"));
}

TEST(STable, TableTextHasTheDocumentedLayout)
{
    STable table;
    table.InsertColumn("a");
    table.InsertColumn("b");
    table.InsertRow();
    table.SetCell(0, "a", "1");
    table.SetCell(0, "b", "2");
    table.SetColumnWidth("b", 50);
    EXPECT_EQ(Strings({"TAVRIN TABLE 1.0.0.0", "2", "1", "", "", "a", "", "", "b", "", "width=50", "", "", "1", "",
                       "", "2", "", ""}),
              Saved(table, false));
}

TEST(STable, TableTextRoundTrip)
{
    STable table;
    BuildSample(table);
    std::string saved = Saved(table, false);
    SFileMem file;
    Fill(file, saved);
    STable loaded;
    ASSERT_TRUE(loaded.LoadTable(&file, true, true, false));
    EXPECT_EQ(saved, Saved(loaded, false));
    EXPECT_EQ(SString("comma, and \"quote\""), *loaded.GetCell(1, 0));
    EXPECT_EQ(SString("line\r\nbreak"), *loaded.GetCell(2, 0));
    EXPECT_EQ(SString("Title, with \"quotes\""), loaded.GetColumnTitle("name"));
    EXPECT_EQ(120, loaded.GetColumnWidth("Size"));
    EXPECT_EQ(22, loaded.GetRowHeight(2));

    // Texts and properties are skipped unless asked for; values always stay.
    file.Rewind();
    ASSERT_TRUE(loaded.Read(&file, false, false, false));
    EXPECT_EQ(3, loaded.GetRowCount());
    EXPECT_EQ(SString("tab\there"), *loaded.GetCell(2, 1));
    EXPECT_EQ(SString(""), *loaded.GetCellText(0, 0));
    EXPECT_EQ(SString(""), *loaded.GetCellStyle(0, 1));
    EXPECT_EQ(SString(""), loaded.GetTableText());
    EXPECT_EQ(0, loaded.GetColumnWidth("Size"));
    EXPECT_EQ(SString("Size"), loaded.GetColumnName("1"));
}

TEST(STable, TableTextCutAtTheLastZeroStillLoads)
{
    STable table;
    BuildSample(table);
    std::string saved = Saved(table, false);
    saved.pop_back();
    SFileMem file;
    Fill(file, saved);
    STable loaded;
    ASSERT_TRUE(loaded.LoadTable(&file, true, true, false));
    EXPECT_EQ(Saved(table, false), Saved(loaded, false));
}

TEST(STable, DamagedTableTextsAreRefusedAndChangeNothing)
{
    const std::string magic = std::string("TAVRIN TABLE 1.0.0.0") + '\0';
    struct Case { const char* what; std::string bytes; };
    const Case cases[] = {
        {"empty stream", ""},
        {"wrong magic", Strings({"TAVRIN TREE 1.0.0.0", "1", "1"})},
        {"magic with a trailing blank", Strings({"TAVRIN TABLE 1.0.0.0 ", "1", "0", "", "", "a", "", ""})},
        {"column count not a number", magic + Strings({"x", "0", "", ""})},
        {"row count not a number", magic + Strings({"1", "3x", "", "", "a", "", ""})},
        {"count with blanks", magic + Strings({" 1", "0", "", "", "a", "", ""})},
        {"negative row count", magic + Strings({"1", "-1", "", "", "a", "", ""})},
        {"count with a sign", magic + Strings({"+1", "0", "", "", "a", "", ""})},
        {"huge table in a short file", magic + Strings({"8", "999999999", "", ""})},
        {"more cells than the bound in a short file", magic + Strings({"1024", "1025", "", ""})},
        {"too many columns", magic + Strings({"99999", "0"}) + std::string(400000, '\0')},
        {"duplicate names", magic + Strings({"2", "0", "", "", "Name", "", "", "NAME", "", ""})},
        {"integer name", magic + Strings({"1", "0", "", "", " 7 ", "", ""})},
        {"binary junk", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
    };
    STable table;
    BuildSample(table);
    std::string before = Saved(table, false);
    for (const Case& c : cases)
    {
        SFileMem file;
        Fill(file, c.bytes);
        EXPECT_FALSE(table.LoadTable(&file, true, true, false)) << c.what;
        EXPECT_EQ(before, Saved(table, false)) << c.what;
    }
    EXPECT_FALSE(table.LoadTable(nullptr, true, true, false));
    EXPECT_EQ(before, Saved(table, false));
}

TEST(STable, ShortTableTextsLoadWithEmptyCells)
{
    const std::string magic = std::string("TAVRIN TABLE 1.0.0.0") + '\0';
    struct Case
    {
        const char* what;
        std::string bytes;
        int columns, rows;
        const char* firstName;  // name of column 0 ("" without columns)
        const char* firstValue; // value of cell (0, 0), null without cells
    };
    const Case cases[] = {
        {"magic only", magic, 0, 0, "", nullptr},
        {"magic without its zero", "TAVRIN TABLE 1.0.0.0", 0, 0, "", nullptr},
        {"counts without texts", magic + Strings({"2", "0"}), 2, 0, "", nullptr},
        {"row count beyond the strings present", magic + Strings({"1", "3", "", "", "a", "", "", "r", "", "v", "", ""}), 1,
         3, "a", "v"},
        {"rows announced, none present", magic + Strings({"2", "4", "t", "", "x", "", "", "y", "", ""}), 2, 4, "x", ""},
        {"more columns than bytes", magic + Strings({"60000", "0", "", ""}), 60000, 0, "", nullptr},
        {"padding within the bound", magic + Strings({"100", "1000"}), 100, 1000, "", ""},
    };
    for (const Case& c : cases)
    {
        SFileMem file;
        Fill(file, c.bytes);
        STable table;
        BuildSample(table);
        ASSERT_TRUE(table.LoadTable(&file, true, true, false)) << c.what;
        EXPECT_EQ(c.columns, table.GetColumnCount()) << c.what;
        EXPECT_EQ(c.rows, table.GetRowCount()) << c.what;
        EXPECT_EQ(SString(c.firstName), table.GetColumnName("0")) << c.what;
        if (c.firstValue)
        {
            EXPECT_EQ(SString(c.firstValue), *table.GetCell(0, 0)) << c.what;
        }
        // Every cell past the strings present is there and empty.
        if (c.rows > 0 && c.columns > 0)
        {
            int lastRow = c.rows - 1, lastColumn = c.columns - 1;
            ASSERT_NE(nullptr, table.GetCell(lastRow, lastColumn)) << c.what;
            EXPECT_EQ(SString(""), *table.GetCell(lastRow, lastColumn)) << c.what;
            EXPECT_EQ(SString(""), *table.GetCellText(lastRow, lastColumn)) << c.what;
            EXPECT_EQ(SString(""), *table.GetCellStyle(lastRow, lastColumn)) << c.what;
            EXPECT_EQ(SString(""), table.GetRowText(lastRow)) << c.what;
        }
        // What was loaded is written back whole.
        SFileMem again;
        Fill(again, Saved(table, false));
        STable reloaded;
        ASSERT_TRUE(reloaded.LoadTable(&again, true, true, false)) << c.what;
        EXPECT_EQ(Saved(table, false), Saved(reloaded, false)) << c.what;
    }
}

TEST(STable, CsvReadsQuotedFields)
{
    SFileMem file;
    Fill(file, "a,\"b,c\",d\r\n\r\n1,2\r\n\"say \"\"hi\"\"\",\"two\r\nlines\",x,ignored\nlf,end");
    STable table;
    ASSERT_TRUE(table.LoadTable(&file, false, false, true));
    ASSERT_EQ(3, table.GetColumnCount());
    ASSERT_EQ(4, table.GetRowCount());
    EXPECT_EQ(SString("b,c"), *table.GetCell(0, 1));
    EXPECT_EQ(SString("2"), *table.GetCell(1, 1));
    EXPECT_EQ(SString(""), *table.GetCell(1, 2));
    EXPECT_EQ(SString("say \"hi\""), *table.GetCell(2, 0));
    EXPECT_EQ(SString("two\r\nlines"), *table.GetCell(2, 1));
    EXPECT_EQ(SString("x"), *table.GetCell(2, 2));
    EXPECT_EQ(SString("end"), *table.GetCell(3, 1));
    EXPECT_EQ(SString(""), table.GetColumnName("0"));
}

TEST(STable, CsvRoundTrip)
{
    STable table;
    BuildSample(table);
    std::string saved = Saved(table, true);
    EXPECT_EQ("plain,\r\n\"comma, and \"\"quote\"\"\",  padded  \r\n\"line\r\nbreak\",tab\there\r\n", saved);
    SFileMem file;
    Fill(file, saved);
    STable loaded;
    ASSERT_TRUE(loaded.LoadTable(&file, true, true, true));
    ASSERT_EQ(2, loaded.GetColumnCount());
    ASSERT_EQ(3, loaded.GetRowCount());
    for (int r = 0; r < 3; r++)
        for (int c = 0; c < 2; c++)
            EXPECT_EQ(*table.GetCell(r, c), *loaded.GetCell(r, c)) << r << "," << c;
    EXPECT_EQ(saved, Saved(loaded, true));

    // One column of empty cells still writes a field on each line.
    STable single;
    single.InsertColumn("");
    single.InsertRow();
    single.InsertRow();
    single.SetCell(1, "0", "\"");
    saved = Saved(single, true);
    EXPECT_EQ("\"\"\r\n\"\"\"\"\r\n", saved);
    Fill(file, saved);
    ASSERT_TRUE(loaded.LoadTable(&file, false, false, true));
    EXPECT_EQ(2, loaded.GetRowCount());
    EXPECT_EQ(SString("\""), *loaded.GetCell(1, 0));
}

TEST(STable, DamagedCsvStillLoads)
{
    struct Case
    {
        const char* what;
        std::string bytes;
        int columns;
        std::vector<const char*> cells; // row by row
    };
    const Case cases[] = {
        {"unclosed quote takes the rest", "a,b\r\n\"never closed,c\r\nx,y\r\n", 2,
         {"a", "b", "never closed,c\r\nx,y\r\n", ""}},
        {"unclosed quote at the very end", "x,\"", 2, {"x", ""}},
        {"unclosed quote after a doubled one", "\"a\"\"b", 1, {"a\"b"}},
        {"zero byte in a field", std::string("a,b\r\nc\0d\r\n", 10), 2, {"a", "b", "cd", ""}},
        {"zero byte inside quotes", std::string("\"x\0y\",z", 8), 2, {"xy", "z"}},
        {"zero byte before a line end", std::string("p\r\0\nq", 6), 1, {"p", "q"}},
        {"zero bytes alone", std::string("\0\0\0", 3), 0, {}},
        {"empty lines only", "\r\n\r\n", 0, {}},
    };
    for (const Case& c : cases)
    {
        STable table;
        BuildSample(table);
        SFileMem file;
        Fill(file, c.bytes);
        ASSERT_TRUE(table.LoadTable(&file, false, false, true)) << c.what;
        ASSERT_EQ(c.columns, table.GetColumnCount()) << c.what;
        int rows = c.columns ? (int)c.cells.size() / c.columns : 0;
        ASSERT_EQ(rows, table.GetRowCount()) << c.what;
        for (int r = 0; r < rows; r++)
            for (int col = 0; col < c.columns; col++)
                EXPECT_EQ(SString(c.cells[(size_t)(r * c.columns + col)]), *table.GetCell(r, col))
                    << c.what << " at " << r << "," << col;
    }
}

namespace
{

// One edit applied both to a loaded table and to a plain model of its values.
struct Edit
{
    enum Kind
    {
        kRead,         // GetCell of (row, column)
        kInsertRow,    // InsertRow(row), then SetCell of column with text
        kDeleteRows,   // DeleteRows(row, count)
        kSetCell,      // SetCell(row, column, text)
        kInsertColumn, // InsertColumn("", column)
        kTakeColumn,   // TakeColumn(column), deleted here
    } kind;
    int row;
    int column;
    int count;
    const char* text;
};

// A list of edits under a name, for a table of cases.
struct EditCase
{
    const char* what;
    std::vector<Edit> edits;
};

using Model = std::vector<std::vector<std::string>>; // row by row

void ApplyEdit(STable& table, Model& model, const Edit& edit)
{
    SString column = IntToString(edit.column);
    switch (edit.kind)
    {
    case Edit::kRead:
        ASSERT_NE(nullptr, table.GetCell(edit.row, edit.column));
        break;
    case Edit::kInsertRow:
        table.InsertRow(edit.row);
        table.SetCell(edit.row, column, edit.text);
        model.insert(model.begin() + edit.row, std::vector<std::string>(model[0].size()));
        model[(size_t)edit.row][(size_t)edit.column] = edit.text;
        break;
    case Edit::kDeleteRows:
    {
        table.DeleteRows(edit.row, edit.count);
        size_t end = edit.count < 0 ? model.size() : std::min(model.size(), (size_t)(edit.row + edit.count));
        model.erase(model.begin() + edit.row, model.begin() + (std::ptrdiff_t)end);
        break;
    }
    case Edit::kSetCell:
        table.SetCell(edit.row, column, edit.text);
        model[(size_t)edit.row][(size_t)edit.column] = edit.text;
        break;
    case Edit::kInsertColumn:
        table.InsertColumn("", edit.column);
        for (auto& row : model)
            row.insert(row.begin() + edit.column, std::string());
        break;
    case Edit::kTakeColumn:
    {
        STable::_SField* field = table.TakeColumn(column);
        ASSERT_NE(nullptr, field);
        EXPECT_EQ((int)model.size(), field->cellValues.GetCount());
        delete field;
        for (auto& row : model)
            row.erase(row.begin() + edit.column);
        break;
    }
    }
}

std::string ModelCsv(const Model& model)
{
    std::string out;
    for (const auto& row : model)
    {
        for (size_t c = 0; c < row.size(); c++)
            out += (c ? "," : "") + row[c];
        out += "\r\n";
    }
    return out;
}

}

// Cells are made on first use after a load; every edit must still meet the right
// values, whichever cells were made before it.
TEST(STable, EditsAfterALoadKeepEveryCellInItsRow)
{
    // Five rows of three columns; the middle column of row 3 is missing.
    const std::string csv = "a0,b0,c0\r\na1,\"b1\",c1\r\na2,b2,c2\r\na3\r\na4,b4,c4\r\n";
    const EditCase cases[] = {
        {"nothing", {}},
        {"row inserted at the top", {{Edit::kInsertRow, 0, 1, 0, "new"}}},
        {"row inserted at the end", {{Edit::kInsertRow, 5, 2, 0, "new"}}},
        {"row inserted after a read", {{Edit::kRead, 2, 0, 0, ""}, {Edit::kInsertRow, 1, 0, 0, "new"}}},
        {"rows deleted in the middle", {{Edit::kDeleteRows, 1, 0, 2, ""}}},
        {"rows deleted to the end", {{Edit::kRead, 4, 2, 0, ""}, {Edit::kDeleteRows, 2, 0, -1, ""}}},
        {"more rows deleted than left", {{Edit::kDeleteRows, 3, 0, 9, ""}}},
        {"insert then delete before it",
         {{Edit::kInsertRow, 3, 1, 0, "new"}, {Edit::kDeleteRows, 0, 0, 2, ""}, {Edit::kSetCell, 0, 2, 0, "set"}}},
        {"cells set over loaded values", {{Edit::kSetCell, 0, 0, 0, "x"}, {Edit::kSetCell, 4, 2, 0, ""}}},
        {"column inserted between", {{Edit::kInsertColumn, 0, 1, 0, ""}, {Edit::kSetCell, 2, 1, 0, "in"}}},
        {"column taken", {{Edit::kTakeColumn, 0, 0, 0, ""}, {Edit::kInsertRow, 0, 1, 0, "new"}}},
    };
    for (bool fromTableText : {false, true})
    {
        SFileMem file;
        Fill(file, csv);
        STable source;
        ASSERT_TRUE(source.LoadTable(&file, false, false, true));
        std::string tableText = Saved(source, false);
        for (const EditCase& c : cases)
        {
            std::string what = std::string(c.what) + (fromTableText ? " (table text)" : " (CSV)");
            Fill(file, fromTableText ? tableText : csv);
            STable table;
            ASSERT_TRUE(table.LoadTable(&file, true, true, !fromTableText)) << what;
            Model model = {{"a0", "b0", "c0"}, {"a1", "b1", "c1"}, {"a2", "b2", "c2"},
                           {"a3", "", ""}, {"a4", "b4", "c4"}};
            for (const Edit& edit : c.edits)
                ApplyEdit(table, model, edit);
            ASSERT_EQ((int)model.size(), table.GetRowCount()) << what;
            ASSERT_EQ((int)model[0].size(), table.GetColumnCount()) << what;
            EXPECT_EQ(ModelCsv(model), Saved(table, true)) << what;
            for (size_t r = 0; r < model.size(); r++)
                for (size_t col = 0; col < model[r].size(); col++)
                {
                    SString* value = table.GetCell((int)r, (int)col);
                    ASSERT_NE(nullptr, value) << what;
                    EXPECT_EQ(SString(model[r][col].c_str()), *value) << what << " at " << r << "," << col;
                }
            EXPECT_EQ(nullptr, table.GetCell((int)model.size(), 0)) << what;
        }
    }
}

// The free texts and property lists of loaded cells and rows are empty, and each can be
// written through its record and read back, by the accessors and by the table text.
TEST(STable, LoadedCellTextsAndListsAreWritable)
{
    SFileMem file;
    STable sample;
    BuildSample(sample);
    const std::string tableText = Saved(sample, false);
    struct Case
    {
        const char* what;
        std::string bytes;
        bool csv;
        int row;     // a row whose texts all load empty
        int column;
    };
    const Case cases[] = {
        {"CSV", "p,q\r\nr,s\r\n", true, 1, 1},
        {"table text, texts dropped", tableText, false, 2, 1},
    };
    for (const Case& c : cases)
    {
        Fill(file, c.bytes);
        STable table;
        ASSERT_TRUE(table.LoadTable(&file, c.csv, c.csv, c.csv)) << c.what;
        SString* text = table.GetCellText(c.row, c.column);
        SString* style = table.GetCellStyle(c.row, c.column);
        ASSERT_NE(nullptr, text) << c.what;
        ASSERT_NE(nullptr, style) << c.what;
        EXPECT_EQ(SString(""), *text) << c.what;
        EXPECT_EQ(text, table.GetCellText(c.row, c.column)) << c.what << ": the same record each time";
        EXPECT_EQ(SString(""), table.GetRowText(c.row)) << c.what;
        EXPECT_EQ(SString(""), table.GetRowProperty(c.row, "height")) << c.what;
        *text = "noted";
        *style = "halign=center";
        table.SetRowProperty(c.row, "height", "17");
        EXPECT_EQ(17, table.GetRowHeight(c.row)) << c.what;

        Fill(file, Saved(table, false));
        STable again;
        ASSERT_TRUE(again.LoadTable(&file, true, true, false)) << c.what;
        EXPECT_EQ(SString("noted"), *again.GetCellText(c.row, c.column)) << c.what;
        EXPECT_EQ(SString("halign=center"), *again.GetCellProperties(c.row, c.column)) << c.what;
        EXPECT_EQ(SString("height=17"), again.GetRowProperties(c.row)) << c.what;
        EXPECT_EQ(SString(""), *again.GetCellText(0, 0)) << c.what;
    }
}

// The reader refills a small buffer from the stream, doubling it for a record that does
// not fit (here up to 64 KB for the first record): every construct of the format must
// load the same wherever a refill cuts it, and a record longer than the buffer must
// load whole.
TEST(STable, CsvRecordsCutByARefillLoadWhole)
{
    const std::string longText(150000, 'x');
    struct Case
    {
        const char* what;
        std::string bytes;                 // records after the first, before "t,u,v"
        std::vector<std::string> cells;    // their cells, three per row
        bool tailRead;                     // "t,u,v" is a record of its own
    };
    const Case cases[] = {
        {"quoted field with a doubled quote and a line break", "\"q\"\"x\r\ny\",z,w\r\n",
         {"q\"x\r\ny", "z", "w"}, true},
        {"CR LF line end", "p,q,r\r\n", {"p", "q", "r"}, true},
        {"CR alone is text", "a\rb,c,d\n", {"a\rb", "c", "d"}, true},
        {"zero bytes", std::string("s\0t,u,\"v\0\"\r\n", 12), {"st", "u", "v"}, true},
        {"empty lines", "\r\n\n\r\n", {}, true},
        {"short and long records", "k\r\nk,l,m,extra,\"more\"\r\n", {"k", "", "", "k", "l", "m"}, true},
        {"record longer than the buffer", "\"" + longText + "\r\n\"\"\",,\r\n", {longText + "\r\n\"", "", ""}, true},
        {"quote never closed", "o,\"" + longText, {"o", longText + "t,u,v\r\n", ""}, false},
    };
    for (const Case& c : cases)
    {
        for (int shift = 0; shift < 24; shift++)
        {
            std::string what = std::string(c.what) + " at " + std::to_string(shift);
            // The first record fills the buffer but for shift bytes.
            std::string first(65536 - (size_t)shift - 6, 'F');
            std::string bytes = first + ",1,2\r\n" + c.bytes + "t,u,v\r\n";
            std::vector<std::string> cells = {first, "1", "2"};
            cells.insert(cells.end(), c.cells.begin(), c.cells.end());
            if (c.tailRead)
                cells.insert(cells.end(), {"t", "u", "v"});
            SFileMem file;
            Fill(file, bytes);
            STable table;
            ASSERT_TRUE(table.LoadTable(&file, false, false, true)) << what;
            ASSERT_EQ(3, table.GetColumnCount()) << what;
            ASSERT_EQ((int)cells.size() / 3, table.GetRowCount()) << what;
            for (size_t i = 0; i < cells.size(); i++)
            {
                SString* cell = table.GetCell((int)i / 3, (int)i % 3);
                ASSERT_NE(nullptr, cell) << what;
                EXPECT_TRUE(cells[i] == (const char*)*cell) << what << " at cell " << i;
            }
        }
    }
}

// The lists of a table read from comma-separated text are made on first use; the same
// edits on the same table read from table text, whose lists are all made, must give
// the same table.
TEST(STable, ListsMadeOnFirstUseKeepEveryTextInItsRow)
{
    enum Kind
    {
        kRowText,      // SetRowText(row, text)
        kRowProperty,  // SetRowProperty(row, "height", text)
        kRowList,      // SetRowProperties(row, text)
        kCellText,     // *GetCellText(row, column) = text
        kCellStyle,    // *GetCellStyle(row, column) = text
        kValue,        // SetCell(row, column, text)
        kInsertRow,    // InsertRow(row)
        kDeleteRows,   // DeleteRows(row, column as the count)
        kInsertColumn, // InsertColumn("", column)
        kTakeColumn,   // TakeColumn(column): each list holds one slot per row
    };
    struct Step
    {
        Kind kind;
        int row;
        int column;
        const char* text;
    };
    struct Case
    {
        const char* what;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"row texts set", {{kRowText, 1, 0, "one"}, {kRowProperty, 3, 0, "12"}, {kRowList, 0, 0, "a=b"}}},
        {"row inserted before set texts",
         {{kInsertRow, 0, 0, ""}, {kRowText, 2, 0, "two"}, {kCellText, 2, 1, "t"}, {kInsertRow, 1, 0, ""}}},
        {"row inserted after set texts",
         {{kRowText, 2, 0, "two"}, {kCellStyle, 3, 2, "s=1"}, {kInsertRow, 1, 0, ""}, {kInsertRow, 6, 0, ""}}},
        {"rows deleted around set texts",
         {{kCellText, 3, 0, "c"}, {kRowProperty, 4, 0, "9"}, {kDeleteRows, 1, 2, ""}, {kCellStyle, 0, 1, "x=y"}}},
        {"rows deleted before any use", {{kDeleteRows, 0, 3, ""}, {kCellText, 1, 2, "late"}, {kRowText, 0, 0, "r"}}},
        {"every row deleted, then rows added",
         {{kDeleteRows, 0, -1, ""}, {kInsertRow, 0, 0, ""}, {kValue, 0, 1, "v"}, {kCellText, 0, 0, "w"}}},
        {"column inserted among made lists",
         {{kCellText, 1, 1, "c"}, {kInsertColumn, 0, 1, ""}, {kCellStyle, 2, 1, "n=1"}, {kInsertRow, 2, 0, ""}}},
        {"column taken", {{kCellText, 4, 0, "kept"}, {kTakeColumn, 0, 1, ""}, {kTakeColumn, 0, 0, ""}}},
        {"last column taken", {{kTakeColumn, 0, 2, ""}, {kTakeColumn, 0, 1, ""}, {kTakeColumn, 0, 0, ""},
                               {kInsertColumn, 0, 0, ""}, {kInsertRow, 0, 0, ""}, {kRowText, 0, 0, "new"}}},
    };
    const std::string csv = "a0,b0,c0\r\na1,b1,c1\r\na2,b2\r\na3,b3,c3\r\na4,b4,c4\r\n";
    SFileMem file;
    Fill(file, csv);
    STable source;
    ASSERT_TRUE(source.LoadTable(&file, false, false, true));
    const std::string tableText = Saved(source, false);
    for (const Case& c : cases)
    {
        STable tables[2];
        Fill(file, csv);
        ASSERT_TRUE(tables[0].LoadTable(&file, true, true, true)) << c.what;
        Fill(file, tableText);
        ASSERT_TRUE(tables[1].LoadTable(&file, true, true, false)) << c.what;
        for (STable& table : tables)
        {
            for (const Step& step : c.steps)
            {
                SString column = IntToString(step.column);
                switch (step.kind)
                {
                case kRowText: table.SetRowText(step.row, step.text); break;
                case kRowProperty: table.SetRowProperty(step.row, "height", step.text); break;
                case kRowList: table.SetRowProperties(step.row, step.text); break;
                case kCellText: *table.GetCellText(step.row, step.column) = step.text; break;
                case kCellStyle: *table.GetCellStyle(step.row, step.column) = step.text; break;
                case kValue: table.SetCell(step.row, column, step.text); break;
                case kInsertRow: table.InsertRow(step.row); break;
                case kDeleteRows: table.DeleteRows(step.row, step.column); break;
                case kInsertColumn: table.InsertColumn("", step.column); break;
                case kTakeColumn:
                {
                    int rows = table.GetRowCount();
                    STable::_SField* field = table.TakeColumn(column);
                    ASSERT_NE(nullptr, field) << c.what;
                    EXPECT_EQ(rows, field->cellValues.GetCount()) << c.what;
                    EXPECT_EQ(rows, field->cellTexts.GetCount()) << c.what;
                    EXPECT_EQ(rows, field->cellProperties.GetCount()) << c.what;
                    delete field;
                    break;
                }
                }
            }
        }
        EXPECT_EQ(Saved(tables[1], false), Saved(tables[0], false)) << c.what;
        EXPECT_EQ(Saved(tables[1], true), Saved(tables[0], true)) << c.what;
        for (int r = 0; r < tables[0].GetRowCount(); r++)
        {
            EXPECT_EQ(tables[1].GetRowText(r), tables[0].GetRowText(r)) << c.what << " row " << r;
            EXPECT_EQ(tables[1].GetRowProperties(r), tables[0].GetRowProperties(r)) << c.what << " row " << r;
        }
    }
}

// A loaded value is found from an offset kept for every sixteenth value of its row:
// values on both sides of those offsets, in rows shorter and longer than the first,
// must read back, survive row edits, save and leave with a taken column as written.
TEST(STable, WideCsvRowsKeepEveryValue)
{
    const int kColumns = 40;
    // Values held by each record after the first, which holds all 40; past 40 they are dropped.
    const int heldByRow[] = {1, 15, 16, 17, 31, 32, 33, 39, 40, 41, 57};
    // Every fifth value is quoted and holds a separator, a doubled quote and a line break.
    auto value = [](int row, int column) {
        std::string text = "v" + std::to_string(row) + "." + std::to_string(column);
        return column % 5 == 4 ? text + ",\"q\"\r\n" : text;
    };
    std::string csv;
    Model model;
    for (int r = 0; r <= (int)(sizeof(heldByRow) / sizeof(heldByRow[0])); r++)
    {
        int held = r == 0 ? kColumns : heldByRow[r - 1];
        model.emplace_back((size_t)kColumns);
        for (int c = 0; c < held; c++)
        {
            std::string text = value(r, c);
            csv += c ? "," : "";
            csv += c % 5 == 4 ? "\"" + std::string(text).replace(text.find('"'), 3, "\"\"q\"\"") + "\"" : text;
            if (c < kColumns)
                model.back()[(size_t)c] = text;
        }
        csv += "\r\n";
    }
    auto check = [&](STable& table, const std::string& what) {
        ASSERT_EQ(kColumns, table.GetColumnCount()) << what;
        ASSERT_EQ((int)model.size(), table.GetRowCount()) << what;
        std::string saved;
        for (const auto& row : model)
        {
            for (int c = 0; c < kColumns; c++)
            {
                const std::string& text = row[(size_t)c];
                saved += c ? "," : "";
                if (text.find('"') == std::string::npos)
                    saved += text;
                else
                    saved += "\"" + std::string(text).replace(text.find('"'), 3, "\"\"q\"\"") + "\"";
            }
            saved += "\r\n";
        }
        EXPECT_EQ(saved, Saved(table, true)) << what;
        for (size_t r = 0; r < model.size(); r++)
            for (int c = 0; c < kColumns; c++)
                EXPECT_TRUE(model[r][(size_t)c] == (const char*)*table.GetCell((int)r, c))
                    << what << " at " << r << "," << c;
    };
    SFileMem file;
    Fill(file, csv);
    STable table;
    ASSERT_TRUE(table.LoadTable(&file, false, false, true));
    check(table, "loaded");

    // The same edits on a table whose cells were read and on one whose were not.
    Fill(file, csv);
    STable unread;
    ASSERT_TRUE(unread.LoadTable(&file, false, false, true));
    for (STable* edited : {&table, &unread})
    {
        edited->InsertRow(3);
        edited->SetCell(3, "20", "new");
        edited->DeleteRows(5, 2);
    }
    model.insert(model.begin() + 3, std::vector<std::string>((size_t)kColumns));
    model[3][20] = "new";
    model.erase(model.begin() + 5, model.begin() + 7);
    check(table, "edited");
    STable reloaded;
    Fill(file, Saved(table, false));
    ASSERT_TRUE(reloaded.LoadTable(&file, false, false, false));
    check(reloaded, "edited, through the table text");

    // A taken column carries its loaded values, which its null slots stand for.
    for (int column : {33, 16, 0})
    {
        STable::_SField* field = unread.TakeColumn(IntToString(column));
        ASSERT_NE(nullptr, field);
        ASSERT_EQ((int)model.size(), field->cellValues.GetCount());
        for (size_t r = 0; r < model.size(); r++)
        {
            const SString* slot = field->cellValues.GetString((int)r);
            ASSERT_TRUE(slot || r < field->packedStarts.size()) << column << " at " << r;
            const char* text = slot ? (const char*)*slot : field->packedValues.data() + field->packedStarts[r];
            EXPECT_TRUE(model[r][(size_t)column] == text) << column << " at " << r;
        }
        delete field;
        for (auto& row : model)
            row.erase(row.begin() + column);
    }
    ASSERT_EQ(kColumns - 3, unread.GetColumnCount());
    for (size_t r = 0; r < model.size(); r++)
        for (int c = 0; c < kColumns - 3; c++)
            EXPECT_TRUE(model[r][(size_t)c] == (const char*)*unread.GetCell((int)r, c))
                << "taken, at " << r << "," << c;
}

// The reader takes the stream from where it stands, and a first record with more
// fields than a table may have columns fails and leaves the table as it was.
TEST(STable, CsvReadsTheRestOfTheStreamWithinTheColumnLimit)
{
    struct Case
    {
        const char* what;
        std::string skipped; // read before the table
        std::string bytes;
        bool loads;
        int columns;
        int rows;
        const char* first; // the first cell after the load
    };
    const std::string widest(STable::kMaxColumns - 1, ',');
    const Case cases[] = {
        {"after a prefix", "ignored,x\r\n", "a,b\r\nc,d\r\n", true, 2, 2, "a"},
        {"prefix ending inside a quote", "\"open", "a\",b\r\n", true, 2, 1, "a\""},
        {"as many fields as columns allowed", "", widest + "\r\n1\r\n", true, STable::kMaxColumns, 2, ""},
        {"one field too many", "", widest + ",\r\n1\r\n", false, 2, 3, "plain"},
        {"too many in a later record only", "", "1\r\n" + widest + ",\r\n", true, 1, 2, "1"},
    };
    for (const Case& c : cases)
    {
        STable table;
        BuildSample(table);
        SFileMem file;
        Fill(file, c.skipped + c.bytes);
        file.Seek((int)c.skipped.size());
        EXPECT_EQ(c.loads, table.LoadTable(&file, false, false, true)) << c.what;
        EXPECT_EQ(c.columns, table.GetColumnCount()) << c.what;
        EXPECT_EQ(c.rows, table.GetRowCount()) << c.what;
        EXPECT_EQ(SString(c.first), *table.GetCell(0, 0)) << c.what;
    }
}

// A long text is kept in several blocks of a few hundred kilobytes: rows inserted and
// deleted across them, and a record longer than a block, must keep every value in its row.
TEST(STable, LongCsvKeepsEveryValueAcrossItsBlocks)
{
    const int kRows = 30000;
    std::string csv;
    Model loaded;
    for (int r = 0; r < kRows; r++)
    {
        std::vector<std::string> row = {"row " + std::to_string(r), std::string((size_t)(r % 50), 'x'),
                                        std::to_string(r * 7)};
        if (r == 12345)
            row[1] = std::string(300000, 'L');
        // Quoted values, short records and empty lines along the way.
        csv += r % 10 == 0 ? "\"" + row[0] + "\"" : row[0];
        csv += "," + row[1];
        if (r % 3 == 1)
            row[2].clear();
        else
            csv += "," + row[2];
        csv += r % 7 == 0 ? "\n\r\n" : "\r\n";
        loaded.push_back(row);
    }
    const EditCase cases[] = {
        {"as loaded", {}},
        {"rows deleted across blocks", {{Edit::kDeleteRows, 5000, 0, 12000, ""}}},
        {"rows inserted at both ends and between",
         {{Edit::kInsertRow, 0, 0, 0, "first"}, {Edit::kInsertRow, 30001, 2, 0, "last"},
          {Edit::kInsertRow, 12346, 1, 0, "beside the long one"}, {Edit::kInsertRow, 20000, 0, 0, "between"}}},
        {"rows deleted, then inserted where they were",
         {{Edit::kDeleteRows, 100, 0, 25000, ""}, {Edit::kInsertRow, 100, 1, 0, "in the gap"},
          {Edit::kInsertRow, 99, 1, 0, "before it"}}},
        {"every row deleted, then one inserted", {{Edit::kDeleteRows, 0, 0, -1, ""}, {Edit::kInsertRow, 0, 2, 0, "alone"}}},
        {"rows deleted to the end, then appended",
         {{Edit::kDeleteRows, 20000, 0, -1, ""}, {Edit::kInsertRow, 20000, 0, 0, "appended"}}},
    };
    for (const EditCase& c : cases)
    {
        SFileMem file;
        Fill(file, csv);
        STable table;
        ASSERT_TRUE(table.LoadTable(&file, false, false, true)) << c.what;
        Model model = loaded;
        for (const Edit& edit : c.edits)
            ApplyEdit(table, model, edit);
        ASSERT_EQ((int)model.size(), table.GetRowCount()) << c.what;
        ASSERT_EQ(3, table.GetColumnCount()) << c.what;
        EXPECT_TRUE(ModelCsv(model) == Saved(table, true)) << c.what;
        for (size_t r = 0; r < model.size(); r++)
            for (int col = 0; col < 3; col++)
                ASSERT_TRUE(model[r][(size_t)col] == (const char*)*table.GetCell((int)r, col))
                    << c.what << " at " << r << "," << col;
    }
}

namespace
{

// A stream that is not in memory and takes no more than a number of bytes.
class ShortStream : public SFileMem
{
public:
    explicit ShortStream(int room) : m_room(room) { m_isMemory = false; }
    int Write(const void* buffer, int bytes) override
    {
        int taken = bytes < m_room ? bytes : m_room;
        m_room -= taken;
        return SFileMem::Write(buffer, taken);
    }

private:
    int m_room;
};

}

// A stream not in memory is written in pieces: a long table must reach a file as it
// reaches memory, and a stream that takes less than it is given must fail the save.
TEST(STable, LongTablesReachAFileAsTheyReachMemory)
{
    std::string csv;
    for (int r = 0; r < 20000; r++)
        csv += "value " + std::to_string(r) + ",\"quoted, \"\"" + std::to_string(r % 13) + "\"\"\"," +
               std::string((size_t)(r % 40), 'z') + "\r\n";
    SFileMem file;
    Fill(file, csv);
    STable table;
    ASSERT_TRUE(table.LoadTable(&file, false, false, true));
    table.SetCell(7, "1", "set");
    table.InsertColumn("", 1);
    *table.GetCellText(19000, 0) = "text";
    for (bool asCsv : {true, false})
    {
        std::string inMemory = Saved(table, asCsv);
        ASSERT_GT(inMemory.size(), (size_t)1000000) << asCsv;
        if (asCsv)
        {
            EXPECT_EQ(0u, inMemory.find("value 0,,\"quoted, \"\"0\"\"\",\r\n"));
        }
        SFilePath disk;
        ASSERT_TRUE(disk.OpenTemp());
        EXPECT_TRUE(table.SaveTable(&disk, asCsv)) << asCsv;
        disk.Seek(0);
        std::string back((size_t)disk.GetSize(), '\0');
        ASSERT_EQ((int)back.size(), disk.ReadBounded(&back[0], (int)back.size())) << asCsv;
        EXPECT_TRUE(inMemory == back) << asCsv;
        disk.Close();

        struct Case
        {
            int room;
            bool saved;
        };
        const Case cases[] = {{0, false}, {1000, false}, {(int)inMemory.size() - 1, false},
                              {(int)inMemory.size(), true}};
        for (const Case& c : cases)
        {
            ShortStream stream(c.room);
            EXPECT_EQ(c.saved, table.SaveTable(&stream, asCsv)) << asCsv << " into " << c.room;
            EXPECT_TRUE(inMemory.compare(0, (size_t)stream.GetSize(), Bytes(stream)) == 0) << asCsv << " into " << c.room;
        }
    }
}
