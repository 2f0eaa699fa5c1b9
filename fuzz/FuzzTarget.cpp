// One libFuzzer target; QUILLMERE_FUZZ_READER names the reader it feeds.
#include "fuzz/Readers.h"

#include <QGuiApplication>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    Readers::feed(QStringLiteral(QUILLMERE_FUZZ_READER), bytes);
    return 0;
}
