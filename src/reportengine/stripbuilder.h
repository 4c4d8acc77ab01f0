#pragma once

#include "reportengine/reportpage.h"
#include "reportengine/texttemplate.h"

/** A horizontal slice of page content, laid out from y = 0; pages are filled strip by strip. */
struct Strip {
    QList<PageItem> items;
    double height = 0;
};

/** Lays out the bands, column headings and detail lines of one layout across a given width. */
class StripBuilder {
public:
    StripBuilder(const ReportLayout& layout, double left, double right);

    Strip columnHeader() const;
    Strip detailRow(const TemplateContext& context) const;
    /** A band as one strip, or several (paragraph lines, breakdown lines) where it may split. */
    QList<Strip> band(const LayoutBand& band, const TemplateContext& context) const;
    /** One line of text, wrapped lines of a long one. */
    QList<Strip> text(const QString& text, int font, double indent = 0) const;

    static double lineHeight(int font);

private:
    Strip block(const LayoutBand& band, const TemplateContext& context) const;
    Strip row(const LayoutBand& band, const TemplateContext& context) const;
    Strip totals(const LayoutBand& band, const TemplateContext& context) const;
    QList<Strip> breakdown(const LayoutBand& band, const TemplateContext& context) const;

    double columnLeft(int column) const;
    double columnRight(int column) const;
    /** Places text in a cell, right-aligned or left, shortened with an ellipsis to fit. */
    void cell(Strip& strip, const QString& text, int font, double left, double right,
              bool alignRight, double baseline) const;
    /** Places text in a cell of a summary line, where nothing may be cut short: text that does
     *  not fit goes on over more lines. Returns the number of lines, the first at `top`. */
    int wholeCell(Strip& strip, const QString& text, int font, double left, double right,
                  bool alignRight, double top) const;

    const ReportLayout& m_layout;
    double m_left;
    double m_right;
};
