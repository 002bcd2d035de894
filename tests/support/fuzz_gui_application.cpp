// The start of a fuzz target that draws: painting measures text, which needs
// the application's fonts, so an application object is made before the first
// input and lives to the end of the process.
#include <QGuiApplication>
#include <QtGlobal>

// The font cache the application keeps through fontconfig is not a leak of
// the code under test.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}
