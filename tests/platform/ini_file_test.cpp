#include "platform/ini_file.h"

#include "platform/gbk_text.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace platform;

namespace {

class IniFileTest : public testing::Test {
protected:
    QString PathOf(const QString& name) const { return dir_.filePath(name); }

    QString WriteFile(const QByteArray& content, const QString& name = QStringLiteral("test.ini")) const
    {
        QFile file(PathOf(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return PathOf(name);
    }

    // Valid files seed the fuzz target of the reader.
    static void AddToCorpus(const QByteArray& content, int number)
    {
        const QString folder = QStringLiteral(FUZZ_CORPUS_DIR "/ini_file_fuzz");
        QDir().mkpath(folder);
        QFile file(folder + QStringLiteral("/seed%1.ini").arg(number));
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
    }

    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
};

const QByteArray kSample = "; settings\r\n"
                           "[OpenFile]\r\n"
                           "File0 = /home/a.nwm \r\n"
                           "File1=\r\n"
                           "unknown line\r\n"
                           "\r\n"
                           "[Colors]\r\n"
                           "Back=$20\r\n"
                           "Fore=0x20\r\n"
                           "Pen=-12\r\n"
                           "Word=abc\r\n"
                           "Truth=true\r\n"
                           "Big=2147483648\r\n"
                           "Small=-2147483648\r\n"
                           "Colour=$FF000005\r\n"
                           "Spaced=  7  \r\n"
                           "Empty=\r\n"
                           "Back=99\r\n";

struct ReadCase {
    const char* section;
    const char* key;
    const char* text;      // ReadString with default "none"
    std::int32_t integer;  // ReadInteger with default -7
};

TEST_F(IniFileTest, ReadsValuesAsThePrivateProfileFunctionsDo)
{
    const IniFile ini(WriteFile(kSample));
    const ReadCase cases[] = {
        {"OpenFile", "File0", "/home/a.nwm", -7},
        {"openfile", "FILE0", "/home/a.nwm", -7},  // names are case-insensitive
        {"OpenFile", "File1", "", -7},             // present but empty
        {"OpenFile", "File2", "none", -7},         // missing
        {"Missing", "File0", "none", -7},
        {"Colors", "Back", "$20", 32},             // the first of two keys wins
        {"Colors", "Fore", "0x20", 32},
        {"Colors", "Pen", "-12", -12},
        {"Colors", "Word", "abc", -7},
        {"Colors", "Truth", "true", -7},
        {"Colors", "Big", "2147483648", -7},       // beyond int32
        {"Colors", "Small", "-2147483648", INT32_MIN},
        {"Colors", "Colour", "$FF000005", static_cast<std::int32_t>(0xFF000005u)},
        {"Colors", "Spaced", "7", 7},
        {"Colors", "Empty", "", -7},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(ini.ReadString(c.section, c.key, QStringLiteral("none")), QString::fromUtf8(c.text));
        EXPECT_EQ(ini.ReadInteger(c.section, c.key, -7), c.integer);
    }
    EXPECT_TRUE(ini.ReadBool("Colors", "Pen", false));
    EXPECT_FALSE(ini.ReadBool("Colors", "Word", false));
    EXPECT_TRUE(ini.ReadBool("Colors", "Word", true));
    EXPECT_EQ(ini.ReadSection("colors"),
              QStringList({"Back", "Fore", "Pen", "Word", "Truth", "Big", "Small", "Colour", "Spaced", "Empty"}));
    EXPECT_TRUE(ini.SectionExists("OPENFILE"));
    EXPECT_FALSE(ini.SectionExists("settings"));
    EXPECT_TRUE(ini.ValueExists("OpenFile", "File1"));
    EXPECT_FALSE(ini.ValueExists("OpenFile", "unknown line"));
}

TEST_F(IniFileTest, ReadsLfFilesGbkTextAndMissingFiles)
{
    const IniFile lf(WriteFile("[A]\nKey=1\n[B]\nName=" + ToGbk(QStringLiteral("网络图")) + "\n"));
    EXPECT_EQ(lf.ReadInteger("A", "Key", 0), 1);
    EXPECT_EQ(lf.ReadString("B", "Name", {}), QStringLiteral("网络图"));

    const IniFile missing(PathOf("absent.ini"));
    EXPECT_EQ(missing.ReadString("A", "Key", QStringLiteral("d")), QStringLiteral("d"));
    EXPECT_TRUE(missing.ReadSection("A").isEmpty());
}

struct WriteCase {
    const char* name;
    QByteArray before;
    std::function<void(IniFile&)> edit;
    QByteArray after;
};

TEST_F(IniFileTest, WritesChangeOnlyTheirOwnLines)
{
    const WriteCase cases[] = {
        {"replace keeps the key's spelling and every other line",
         "; c\r\n[S]\r\nKEY = old\r\nx\r\n", [](IniFile& f) { f.WriteString("s", "key", "new"); },
         "; c\r\n[S]\r\nKEY=new\r\nx\r\n"},
        {"new key after the last key of its section",
         "[S]\r\nA=1\r\n\r\n; next\r\n[T]\r\nB=2\r\n", [](IniFile& f) { f.WriteInteger("S", "C", 3); },
         "[S]\r\nA=1\r\nC=3\r\n\r\n; next\r\n[T]\r\nB=2\r\n"},
        {"new section at the end, line breaks of the file kept",
         "[S]\nA=1\n", [](IniFile& f) { f.WriteBool("New", "On", true); f.WriteBool("New", "Off", false); },
         "[S]\nA=1\n[New]\nOn=1\nOff=0\n"},
        {"a new file uses CRLF", "", [](IniFile& f) { f.WriteString("OpenFile", "File0", QStringLiteral("图.nwm")); },
         "[OpenFile]\r\nFile0=" + ToGbk(QStringLiteral("图.nwm")) + "\r\n"},
        {"line breaks inside a value do not split the line", "",
         [](IniFile& f) { f.WriteString("S", "K", "a\nb"); }, "[S]\r\nK=a b\r\n"},
        {"erase removes every section of that name with its lines",
         "[A]\r\nX=1\r\n[B]\r\nY=2\r\n[a]\r\nZ=3\r\n", [](IniFile& f) { f.EraseSection("A"); },
         "[B]\r\nY=2\r\n"},
        {"delete key leaves the rest", "[A]\r\nX=1\r\n; keep\r\nY=2\r\n",
         [](IniFile& f) { f.DeleteKey("a", "x"); }, "[A]\r\n; keep\r\nY=2\r\n"},
        {"undecodable bytes of other lines stay as they were", "[A]\r\nX=\x81\x20\r\n",
         [](IniFile& f) { f.WriteString("A", "Y", "1"); }, "[A]\r\nX=\x81\x20\r\nY=1\r\n"},
    };
    int seed = 0;
    AddToCorpus(kSample, seed++);
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = WriteFile(c.before);
        IniFile ini(path);
        c.edit(ini);
        ASSERT_TRUE(ini.UpdateFile());
        EXPECT_EQ(ReadFile(path), c.after);
        AddToCorpus(c.after, seed++);
    }
}

TEST_F(IniFileTest, WrittenValuesReadBackBeforeAndAfterSaving)
{
    const QString path = PathOf("round.ini");
    IniFile ini(path);
    ini.WriteInteger("N", "Width", -40);
    ini.WriteString("N", "Title", QStringLiteral("工程进度"));
    EXPECT_EQ(ini.ReadInteger("N", "Width", 0), -40);
    ASSERT_TRUE(ini.UpdateFile());
    const IniFile again(path);
    EXPECT_EQ(again.ReadInteger("n", "width", 0), -40);
    EXPECT_EQ(again.ReadString("N", "Title", {}), QStringLiteral("工程进度"));
}

TEST_F(IniFileTest, FailedSaveReportsFailureAndKeepsWhatWasThere)
{
    IniFile nowhere(PathOf("no-such-folder/test.ini"));
    nowhere.WriteString("S", "K", "v");
    EXPECT_FALSE(nowhere.UpdateFile());
    EXPECT_FALSE(QFile::exists(PathOf("no-such-folder/test.ini")));

    // The name is taken by a folder: the finished temporary file cannot
    // replace it, and the folder and its content stay.
    ASSERT_TRUE(QDir(dir_.path()).mkpath("taken.ini"));
    const QString inside = WriteFile("keep", "taken.ini/inside.txt");
    IniFile taken(PathOf("taken.ini"));
    taken.WriteString("S", "K", "v");
    EXPECT_FALSE(taken.UpdateFile());
    EXPECT_EQ(ReadFile(inside), QByteArray("keep"));
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files).isEmpty()); // no temporary file left
}

} // namespace
