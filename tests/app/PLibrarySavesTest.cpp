// Every save of a file the user keeps in the library, side by side: a playlist, a
// description page, the book, a folder's settings and a cover.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "../core/SFileTestSupport.h"
#include "LibraryTestSupport.h"
#include "PBookWriter.h"
#include "PDescriptionPage.h"
#include "PPlaylistFile.h"
#include "PWndApp.h"
#include "SImage.h"
#include "SIni.h"
#include "SStringArray.h"

using file_test::FolderNames;
using namespace library_test;

namespace
{
const std::string kOld = "what the user had before\r\n";

struct SavePath
{
    const char* what;
    // The saved file below the library root.
    const char* file;
    // Saves it anew; the result of the save.
    std::function<bool(const std::string& root)> save;
};

const std::vector<SavePath>& SavePaths()
{
    static const std::vector<SavePath> paths = {
        {"playlist", "Playlists\\Mix.lst",
         [](const std::string& root) {
             SStringArray entries;
             entries.Add("Artist\\Album\\01 Song.mp3");
             return PPlaylistFile::Write((root + "Playlists\\Mix.lst").c_str(), entries);
         }},
        {"description page", "Artist.htm",
         [](const std::string& root) {
             SStringArray names, paths;
             PDescriptionPage page;
             page.SetFolders(&names, &paths);
             return page.Generate(root.c_str(), "Artist");
         }},
        {"book", "Book.htm",
         [](const std::string& root) {
             PBookWriter writer;
             return writer.Write(root.c_str(), (root + "Book.htm").c_str(), false);
         }},
        {"folder settings", "Artist\\Album.ini",
         [](const std::string& root) {
             SIni settings;
             return settings.Open((root + "Artist\\Album.ini").c_str(), false) &&
                    settings.SetValue("", "site", "http://www.example.com/");
         }},
        {"cover", "Artist\\album.png",
         [](const std::string& root) {
             SImage picture;
             return picture.Create(150, 150) && picture.Fill(0xFF336699) &&
                    PWndApp::SaveCover(&picture, (root + "Artist\\album.png").c_str());
         }},
    };
    return paths;
}
} // namespace

// A writable old file is replaced; a read-only one, which the user protected and
// Windows refuses to open for writing, stays byte for byte. Neither way leaves a
// temporary file beside it.
TEST(PLibrarySaves, EachSaveReplacesTheOldFileOnlyWhenItMay)
{
    for (const SavePath& path : SavePaths())
    {
        for (bool readOnly : {false, true})
        {
            ScratchFolder library("library-saves");
            library.Folder("Artist\\Album");
            ASSERT_TRUE(library.File("Artist\\Album\\01 Song.mp3", "ID3"));
            ASSERT_TRUE(library.File("Artist.txt", "{Story}\r\nA band.\r\n"));
            ASSERT_TRUE(library.File(path.file, kOld));
            const std::string file = library + path.file;
            const std::string folder = file.substr(0, file.find_last_of('\\') + 1);
            const std::vector<std::string> before = FolderNames(folder);
            if (readOnly)
            {
                ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
            }

            EXPECT_EQ(path.save(library.Path()), !readOnly) << path.what << " read-only " << readOnly;
            const std::string now = ReadAll(file);
            if (readOnly)
            {
                EXPECT_EQ(now, kOld) << path.what;
            }
            else
            {
                EXPECT_TRUE(!now.empty() && now != kOld) << path.what;
            }
            EXPECT_EQ(FolderNames(folder), before) << path.what << " read-only " << readOnly;
        }
    }
}
