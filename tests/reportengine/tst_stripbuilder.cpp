#include "reportengine/reportlayout.h"
#include "reportengine/stripbuilder.h"

#include <QtTest>
#include <algorithm>

/** Summary lines print every word of their labels and totals, whatever the column widths. */
class TestStripBuilder : public QObject {
    Q_OBJECT

    static constexpr double Left = 600;
    static constexpr double Right = 9600;

    /** The characters of the texts, blanks left out, in order: what a cut or an ellipsis
     *  would change. */
    static QString characters(const QStringList& texts)
    {
        QString all = texts.join(QString());
        all.remove(QLatin1Char(' '));
        std::sort(all.begin(), all.end());
        return all;
    }

private Q_SLOTS:
    void summaryTextIsNeverCut_data()
    {
        QTest::addColumn<QString>("footer");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<bool>("wraps");
        const QString longLabel = QStringLiteral("Totals of every invoice of the whole year");
        QTest::newRow("left cell spreads over the empty columns after it")
            << QStringLiteral(R"({"type": "row", "bold": true, "cells": {"a": "%1"}})")
                   .arg(longLabel)
            << QStringList{longLabel} << false;
        QTest::newRow("right-aligned cell spreads over the empty columns before it")
            << QStringLiteral(R"({"type": "row", "cells": {"a": "Sum", "d": "%1"}})").arg(longLabel)
            << QStringList{QStringLiteral("Sum"), longLabel} << false;
        QTest::newRow("a full row wraps")
            << QStringLiteral(
                   R"j({"type": "row", "cells": {"a": "%1", "b": "12 invoice(s)", "c": "x", "d": "1.00"}})j")
                   .arg(longLabel)
            << QStringList{longLabel, QStringLiteral("12 invoice(s)"), QStringLiteral("x"),
                           QStringLiteral("1.00")}
            << true;
        const QString longWord = QStringLiteral("1234567890").repeated(4);
        QTest::newRow("a word wider than its cell breaks")
            << QStringLiteral(R"({"type": "row", "cells": {"a": "%1", "b": "x", "c": "x",
                                  "d": "x"}})")
                   .arg(longWord)
            << QStringList{longWord, QStringLiteral("x"), QStringLiteral("x"), QStringLiteral("x")}
            << true;
        QTest::newRow("totals label runs on to the left")
            << QStringLiteral(R"({"type": "totals", "bold": true, "pairs": [["%1", "9.99"]]})")
                   .arg(longLabel)
            << QStringList{longLabel, QStringLiteral("9.99")} << false;
    }

    void summaryTextIsNeverCut()
    {
        QFETCH(QString, footer);
        QFETCH(QStringList, texts);
        QFETCH(bool, wraps);
        const QString json =
            QStringLiteral(R"({"title": "T", "data": {"from": "ARInvoice"}, "detail": {"columns": [
                {"key": "a", "title": "A", "text": "", "width": 28},
                {"key": "b", "title": "B", "text": "", "width": 28},
                {"key": "c", "title": "C", "text": "", "width": 28},
                {"key": "d", "title": "D", "text": "", "width": 16, "align": "right"}]},
                "footer": [%1]})")
                .arg(footer);
        const Result<ReportLayout> layout = ReportLayout::parse(json.toUtf8(), QStringLiteral("t"));
        QVERIFY2(layout, qPrintable(layout.status().message()));
        const StripBuilder builder(*layout, Left, Right);
        const QList<Strip> strips =
            builder.band(layout->reportFooter.first(), TemplateContext{*layout, {}, {}, 0, {}});
        QCOMPARE(strips.size(), 1);

        QStringList printed;
        QList<double> baselines;
        QList<std::pair<double, QRectF>> extents;
        for (const PageItem& item : strips.first().items) {
            if (item.kind != PageItem::Kind::Text)
                continue;
            printed << item.text;
            const double width = ReportFonts::metrics(item.font).horizontalAdvance(item.text);
            const QRectF extent(item.rect.left(), item.rect.top(), width, 1);
            QVERIFY2(extent.left() >= Left && extent.right() <= Right, qPrintable(item.text));
            QVERIFY(extent.bottom() <= strips.first().height);
            for (const auto& [base, other] : extents)
                QVERIFY2(base != item.rect.top() || !other.intersects(extent),
                         qPrintable(item.text));
            extents.append({item.rect.top(), extent});
            if (!baselines.contains(item.rect.top()))
                baselines << item.rect.top();
        }
        QCOMPARE(characters(printed), characters(texts));
        QCOMPARE(baselines.size() > 1, wraps);
    }
};

QTEST_MAIN(TestStripBuilder)
#include "tst_stripbuilder.moc"
