// Writes the client's icon as the PNG files of the hicolor theme, one folder per size, from the very
// drawing the title bars show.
#include "shell/AppIcon.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: render_icons FOLDER\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (!root.mkpath(folder) ||
            !folvaneIconImage(size).save(root.filePath(folder + QStringLiteral("/folvane.png"))))
            return 1;
    }
    return 0;
}
