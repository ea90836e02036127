// lanterna-release: writes the update description of a folder of release files, ready to be
// signed with minisign and published beside them.
#include "release/release_writer.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("lanterna-release"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Writes DIR/UpDate.dat listing every file of DIR with its address, size and SHA-256."));
    parser.addHelpOption();
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("The release's version (1.3)."), QStringLiteral("VER"));
    const QCommandLineOption product(QStringLiteral("product"), QStringLiteral("The product's name."),
                                     QStringLiteral("NAME"));
    const QCommandLineOption baseUrl(QStringLiteral("base-url"),
                                     QStringLiteral("The address the files of DIR are published under."),
                                     QStringLiteral("URL"));
    const QCommandLineOption expires(
        QStringLiteral("expires"),
        QStringLiteral("When the description stops being valid (YYYY-MM-DDTHH:MM:SSZ)."),
        QStringLiteral("WHEN"));
    parser.addOptions({version, product, baseUrl, expires});
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("The folder of the release's files."));
    parser.process(application);
    if (parser.positionalArguments().size() != 1 || !parser.isSet(version) || !parser.isSet(product) ||
        !parser.isSet(baseUrl)) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }
    const lanterna::TReleaseInfo info{parser.value(version), parser.value(product), parser.value(baseUrl),
                                      parser.value(expires)};
    const QString folder = parser.positionalArguments().front();
    QString error;
    const int listed = lanterna::WriteReleaseDescription(folder, info, error);
    if (listed < 0) {
        std::fprintf(stderr, "lanterna-release: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s/UpDate.dat lists %d files\n", qPrintable(folder), listed);
    return 0;
}
