// Measures the tree text (loaded into and saved from a tree control, and parsed
// alone) and the table text and CSV (loaded and saved) at 10,000 and 100,000
// nodes or rows, each against reading and writing the same bytes through the
// library's file streams: line by line or string by string, the natural unit of
// each format. Not a test: `make bench` runs it.
#include <stdio.h>
#include <string>
#include <windows.h>

#include "BenchSupport.h"
#include "SDisk.h"
#include "SFileMem.h"
#include "SFilePath.h"
#include "SLibrary.h"
#include "STable.h"
#include "STreeCtrl.h"
#include "STreeText.h"

namespace
{

const int kRounds = 3;

// Best time of a few runs of work, each after an untimed prepare step.
template <class Prepare, class Work>
double BestOf(Prepare prepare, Work work)
{
    double best = 1e30;
    for (int round = 0; round < kRounds; round++)
    {
        prepare();
        double start = BenchNow();
        work();
        double seconds = BenchNow() - start;
        if (seconds < best)
            best = seconds;
    }
    return best;
}

// A tree text of count nodes, four levels deep, with data tails.
std::string MakeTreeText(int count)
{
    std::string text = "TAVRIN TREE 1.0.0.0\r\n";
    char line[96];
    for (int i = 0; i < count; i++)
    {
        int j = i % 1000;
        int depth = j == 0 ? 0 : j % 100 == 1 ? 1 : j % 10 == 2 ? 2 : 3;
        snprintf(line, sizeof(line), "%.*sMedia item %d+%d,%d,%d\r\n", depth, "\t\t\t", i, i, i % 8, i % 8);
        text += line;
    }
    return text + ".\r\n";
}

void FillTable(STable& table, int rows)
{
    table.Clear();
    const char* names[8] = {"Title", "Artist", "Album", "Year", "Genre", "Length", "Path", "Notes"};
    for (int c = 0; c < 8; c++)
    {
        table.InsertColumn(names[c]);
        table.SetColumnWidth(names[c], 60 + 10 * c);
    }
    // Rows appended in bulk through the text form keep the setup itself fast.
    std::string csv;
    char line[256];
    for (int r = 0; r < rows; r++)
    {
        snprintf(line, sizeof(line),
                 "Song %d,Artist %d,\"Album, vol. %d\",%d,Rock,3:%02d,C:\\Music\\%d.mp3,\"said \"\"hi\"\"\"\r\n", r,
                 r % 97, r % 13, 1960 + r % 60, r % 60, r);
        csv += line;
    }
    SFileMem file;
    file.Write(csv.data(), (int)csv.size());
    file.Rewind();
    table.LoadTable(&file, false, false, true);
}

void LoadBytes(SFileMem& file, const std::string& bytes)
{
    file.Allocate((int)bytes.size());
    file.Write(bytes.data(), (int)bytes.size());
    file.Rewind();
}

std::string ReadBack(SFileMem& file)
{
    return std::string((const char*)file.GetBuffer(), (size_t)file.GetSize());
}

// Splits bytes at CR LF into lines (without the CR LF).
void SplitLines(const std::string& bytes, std::vector<std::string>* lines)
{
    size_t start = 0;
    while (start < bytes.size())
    {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos)
            end = bytes.size();
        lines->push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
}

void SplitStrings(const std::string& bytes, std::vector<std::string>* strings)
{
    size_t start = 0;
    while (start < bytes.size())
    {
        size_t end = bytes.find('\0', start);
        if (end == std::string::npos)
            end = bytes.size();
        strings->push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
}

double ReadLinesSeconds(SFileMem& file)
{
    return BestOf([&] { file.Rewind(); }, [&] {
        while (!file.IsEof())
            file.ReadLine(true);
    });
}

// The same reading, each text kept until the end as a reader of the format must keep it.
double ReadKeptSeconds(SFileMem& file, bool lines)
{
    std::vector<SString*> kept;
    double seconds = BestOf([&] {
        for (SString* text : kept)
            delete text;
        kept.clear();
        file.Rewind();
    }, [&] {
        while (!file.IsEof())
            kept.push_back(new SString(lines ? file.ReadLine(true) : file.ReadZString(true)));
    });
    for (SString* text : kept)
        delete text;
    return seconds;
}

double ReadStringsSeconds(SFileMem& file)
{
    return BestOf([&] { file.Rewind(); }, [&] {
        while (!file.IsEof())
            file.ReadZString(true);
    });
}

double WriteLinesSeconds(const char* path, const std::vector<std::string>& lines)
{
    SFilePath out;
    return BestOf([&] { out.Open(path, true, true, false); }, [&] {
        for (const std::string& line : lines)
            out.WriteLine(line.c_str());
        out.Close();
    });
}

double WriteStringsSeconds(const char* path, const std::vector<std::string>& strings)
{
    SFilePath out;
    return BestOf([&] { out.Open(path, true, true, false); }, [&] {
        for (const std::string& text : strings)
            out.WriteStringZ(text.c_str());
        out.Close();
    });
}

void Report(const char* what, int count, double seconds, const char* baseline, double baselineSeconds)
{
    char label[96], base[64];
    snprintf(label, sizeof(label), "%s, %dk", what, count / 1000);
    snprintf(base, sizeof(base), "%s", baseline);
    BenchReport(label, seconds, base, baselineSeconds);
}

void BenchTree(STreeCtrl& tree, const char* path, int count)
{
    std::string text = MakeTreeText(count);
    SFileMem file;
    LoadBytes(file, text);
    std::vector<std::string> lines;
    SplitLines(text, &lines);

    double readLines = ReadLinesSeconds(file);
    double readKept = ReadKeptSeconds(file, true);
    double parse = BestOf([&] { file.Rewind(); }, [&] {
        STreeText parsed;
        parsed.Read(&file, true);
    });
    double load = BestOf([&] {
        tree.DeleteAllItems();
        file.Rewind();
    }, [&] { tree.LoadTree(&file, true); });
    if (tree.GetCount() != count)
        printf("tree holds %d items, expected %d\n", tree.GetCount(), count);
    double writeLines = WriteLinesSeconds(path, lines);
    SFilePath out;
    double save = BestOf([&] { out.Open(path, true, true, false); }, [&] {
        tree.SaveTree(&out, true);
        out.Close();
    });
    SFileMem saved;
    tree.SaveTree(&saved, true);
    if (ReadBack(saved) != text)
        printf("tree text saved differs from the text loaded\n");
    tree.DeleteAllItems();

    Report("tree text parsed (STreeText)", count, parse, "ReadLine, SFileMem", readLines);
    Report("tree text parsed (STreeText)", count, parse, "ReadLine, lines kept", readKept);
    Report("tree text loaded into the control", count, load, "ReadLine, SFileMem", readLines);
    Report("tree text saved from the control", count, save, "WriteLine, SFilePath", writeLines);
}

void BenchTable(const char* path, int rows)
{
    STable table;
    FillTable(table, rows);
    for (bool csv : {false, true})
    {
        SFileMem source;
        table.SaveTable(&source, csv);
        std::string bytes = ReadBack(source);
        source.Rewind();
        std::vector<std::string> units;
        if (csv)
            SplitLines(bytes, &units);
        else
            SplitStrings(bytes, &units);

        double readUnits = csv ? ReadLinesSeconds(source) : ReadStringsSeconds(source);
        double readKept = ReadKeptSeconds(source, csv);
        STable loaded;
        double load = BestOf([&] { source.Rewind(); }, [&] { loaded.LoadTable(&source, true, true, csv); });
        if (loaded.GetRowCount() != rows || loaded.GetColumnCount() != 8)
            printf("table loaded %d x %d, expected %d x 8\n", loaded.GetRowCount(), loaded.GetColumnCount(), rows);
        double writeUnits = csv ? WriteLinesSeconds(path, units) : WriteStringsSeconds(path, units);
        SFilePath out;
        double save = BestOf([&] { out.Open(path, true, true, false); }, [&] {
            loaded.SaveTable(&out, csv);
            out.Close();
        });
        SFileMem again;
        loaded.SaveTable(&again, csv);
        if (ReadBack(again) != bytes)
            printf("%s saved differs from the text loaded\n", csv ? "CSV" : "table text");

        Report(csv ? "CSV loaded (8 columns)" : "table text loaded (8 columns)", rows, load,
               csv ? "ReadLine, SFileMem" : "ReadZString, SFileMem", readUnits);
        Report(csv ? "CSV loaded (8 columns)" : "table text loaded (8 columns)", rows, load,
               csv ? "ReadLine, lines kept" : "ReadZString, strings kept", readKept);
        Report(csv ? "CSV saved (8 columns)" : "table text saved (8 columns)", rows, save,
               csv ? "WriteLine, SFilePath" : "WriteStringZ, SFilePath", writeUnits);
    }
}

}

int main()
{
    InitLibrary(GetModuleHandleA(nullptr), SW_HIDE, true, true, false);
    SDisk disk;
    SString path = disk.GetTempFileName();
    SWnd owner;
    RECT rect = {0, 0, 300, 600};
    STreeCtrl tree;
    if (path.IsEmpty() || !owner.Create("tree bench", WS_POPUP, 0, &rect, nullptr) ||
        !tree.Create(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT, 0, &rect, owner.GetHandle()))
    {
        printf("cannot set up the benchmark\n");
        return 1;
    }
    for (int count : {10000, 100000})
        BenchTree(tree, path, count);
    for (int rows : {10000, 100000})
        BenchTable(path, rows);
    tree.Destroy();
    owner.Destroy();
    disk.DeleteFile(path);
    ExitLibrary();
    return 0;
}
