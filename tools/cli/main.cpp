// setfolio-cli: the processor link without windows, for scripts and tests.
#include "Command.h"

#include <QCoreApplication>

#include <iostream>
#include <unistd.h>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // Byte for byte, so that file names reach the file system as they were given.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLatin1(argv[i]);
    return setfolio::cli::RunCommandLine(
        arguments, {std::cin, std::cout, std::cerr, ::isatty(2) != 0, ::isatty(0) != 0});
}
