#pragma once

#include "data/status.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

/** How a field's stored value is read and shown. */
enum class FieldType { Text, Number, Decimal, Money, Date, YesNo };

/** A table column named in a layout, checked to be a plain identifier pair. */
struct ColumnRef {
    QString table;
    QString column;
    QString sql() const;
};

/** One value a layout shows: a column of the data, or a figure computed from two others. */
struct LayoutField {
    enum class Source { Column, Product, Difference, Days };
    QString name;
    FieldType type = FieldType::Text;
    Source source = Source::Column;
    ColumnRef column;
    int left = -1; // computed fields: positions of the two operand fields
    int right = -1;
};

/** A table joined to the report's main table. Rows joins bring one row per match; Sum and First
 *  joins bring one row per key (the sum of the columns, or the first stored row's columns). */
struct LayoutJoin {
    enum class Kind { Rows, Sum, First };
    Kind kind = Kind::Rows;
    QString table;
    QString key;    // column of this table
    ColumnRef from; // column of a table joined earlier
    QStringList columns;
    QString unless; // a yes/no column of this table; its rows holding Yes are left out
};

/** Text with field references: "{Name}", "{sum:Name}", "{avg:Name}", "{count}", "{page}". */
struct TextTemplate {
    struct Piece {
        enum class Kind { Literal, Field, Sum, Average, Count, Page, Today, Title };
        Kind kind = Kind::Literal;
        QString text;
        int field = -1;
    };
    QList<Piece> pieces;
    bool refersToFields() const;
};

/** A table column of the detail lines; width is a share of the printable width. */
struct LayoutColumn {
    QString key;
    QString title;
    TextTemplate text;
    double width = 0;
    bool alignRight = false;
};

/** Counts of the records per distinct value of a field, with an optional average. */
struct LayoutBreakdown {
    QString title;
    int by = -1;
    int average = -1;
    QString averageTitle;
};

/** One horizontal strip of a report: the units the pages are built from. */
struct LayoutBand {
    enum class Kind { Block, Heading, Paragraph, Row, Totals, Breakdown, Space };
    Kind kind = Kind::Space;
    TextTemplate text;                             // Heading, Paragraph
    QString label;                                 // Paragraph label; Block left title
    QList<TextTemplate> lines;                     // Block: left lines
    QString rightTitle;                            // Block: right title
    QList<std::pair<QString, TextTemplate>> pairs; // Block right side, Totals
    QList<std::pair<int, TextTemplate>> cells;     // Row: detail column position and text
    bool bold = false;
    bool rule = false;
    int size = 0; // Heading: point size (0 = default)
    int breakdown = -1;
};

struct LayoutGroup {
    int by = -1;
    bool newPage = false;
    QList<LayoutBand> header;
    QList<LayoutBand> footer;
};

/** A report layout: the data it reads, how the records are grouped and what each part prints. */
struct ReportLayout {
    QString name;
    QString title;
    bool landscape = false;
    bool companyHeader = true;
    QString footnote;
    QString emptyText;

    QString from;
    QList<LayoutJoin> joins;
    QString filter; // a selection formula that always applies, besides the caller's
    QList<std::pair<ColumnRef, bool>> order; // column, descending
    QList<LayoutField> fields;

    QList<LayoutBand> reportHeader;
    QList<LayoutBand> reportFooter;
    QList<LayoutGroup> groups;
    QList<LayoutColumn> columns;
    QList<LayoutBand> detailBands;
    int detailWhen = -1; // field that must hold a value for a detail line to print
    QList<LayoutBreakdown> breakdowns;

    static Result<ReportLayout> load(const QString& path);
    static Result<ReportLayout> parse(const QByteArray& json, const QString& name);

    int fieldIndex(const QString& name) const;
    /** The tables the data reads, as the layout spells them. */
    QStringList tables() const;
    /** For a Sum or First join, the only columns it offers; empty for a whole table. */
    const LayoutJoin* joinOf(const QString& table) const;
};
