// Writes a database the size of a shop after ten years: generate_shop OUT.mdb [scale]
#include "shopgenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: generate_shop OUT.mdb [scale 0..1]\n");
        return 2;
    }
    const double scale = argc > 2 ? QString::fromLocal8Bit(argv[2]).toDouble() : 1.0;
    const ShopSize size = ShopSize::scaled(scale);
    QElapsedTimer timer;
    timer.start();
    const Status status = generateShop(QString::fromLocal8Bit(argv[1]), size);
    if (!status) {
        std::fprintf(stderr, "%s\n", qPrintable(status.message()));
        return 1;
    }
    std::printf("generated in %.1f s\n", timer.elapsed() / 1000.0);
    return 0;
}
