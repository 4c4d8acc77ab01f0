#include "data/database.h"
#include "data/programfolder.h"
#include "reportengine/reportdata.h"
#include "reportengine/reportjob.h"
#include "reportengine/reportoutput.h"
#include "reportengine/selectionformula.h"
#include "support/dbprobe.h"
#include "support/testfolder.h"

#include <QDate>
#include <QtTest>

Q_DECLARE_METATYPE(QList<QVariant>)

namespace {

/** Fields of a made-up schema, as the engine's resolver would describe them. */
Result<FormulaField> fakeField(const QString& table, const QString& column)
{
    const QString name = table.toLower() + QLatin1Char('.') + column.toLower();
    static const QList<std::pair<QString, FieldType>> known = {
        {QStringLiteral("calllog.callstatus"), FieldType::Text},
        {QStringLiteral("calllog.tech"), FieldType::Text},
        {QStringLiteral("arinvoice.invprinted"), FieldType::YesNo},
        {QStringLiteral("arinvoice.invnum"), FieldType::Number},
        {QStringLiteral("arinvoice.invdate"), FieldType::Date},
        {QStringLiteral("arinvoice.invtotal"), FieldType::Money},
        {QStringLiteral("repairorder.worknum"), FieldType::Number},
    };
    for (const auto& [key, type] : known)
        if (key == name)
            return FormulaField{QStringLiteral("%1.%2").arg(table, column), type};
    return Status::failed(QStringLiteral("the field {%1.%2} is not known").arg(table, column));
}

QVariant plain(const SqlValue& value)
{
    switch (value.type()) {
    case SqlValue::Type::Integer:
        return QVariant::fromValue(static_cast<qlonglong>(value.integer()));
    case SqlValue::Type::Real:
        return value.real();
    case SqlValue::Type::Text:
        return value.text();
    case SqlValue::Type::Null:
        break;
    }
    return {};
}

/** The values of `field` in the records a layout selects with a formula; "error" when the
 *  formula is refused, "query error" when the database refuses the query made from it. */
QStringList selected(const QString& layoutFile, const QString& formula, const QString& field)
{
    Result<ReportLayout> layout =
        ReportLayout::load(ProgramFolder::filePath(QStringLiteral("Reports/") + layoutFile));
    if (!layout)
        return {QStringLiteral("layout error")};
    Database db;
    Result<SelectionCondition> condition =
        SelectionFormula::parse(formula, ReportData::fieldResolver(db, layout.value()));
    if (!condition)
        return {QStringLiteral("error")};
    QStringList values;
    const int index = layout->fieldIndex(field);
    const Status read =
        ReportData::stream(db, layout.value(), condition.value(), [&](const ReportRow& row) {
            const QString value = ReportValues::format(row[index], layout->fields[index].type);
            if (!values.contains(value))
                values << value;
        });
    return read ? values : QStringList{QStringLiteral("query error")};
}

} // namespace

/** The selection formulas: how each form reads, binds its values and selects records. */
class TestFormula : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void formsReadAsBoundConditions_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QList<QVariant>>("values");
        auto row = [](const char* name, const QString& formula, const char* sql,
                      const QList<QVariant>& values) {
            QTest::newRow(name) << formula << sql << values;
        };
        row("blank selects all", "   ", "", {});
        row("open tickets", "{CallLog.CallStatus}= 'Open'", "CallLog.CallStatus = ?", {"Open"});
        row("doubled quote is one quote", "{CallLog.Tech}='O''Neil; DROP'", "CallLog.Tech = ?",
            {"O'Neil; DROP"});
        row("double quotes", "{CallLog.Tech}=\"A'B\"", "CallLog.Tech = ?", {"A'B"});
        row("percent signs as typed", "{CallLog.Tech}='%1 %2'", "CallLog.Tech = ?", {"%1 %2"});
        row("unprinted", "{ARINVOICE.InvPrinted}= No", "ARINVOICE.InvPrinted = ?", {0LL});
        row("printed, any case", "{arinvoice.invprinted} = TRUE", "arinvoice.invprinted = ?",
            {1LL});
        row("negative number", "{ARINVOICE.InvNum}=-3", "ARINVOICE.InvNum = ?", {-3LL});
        row("money in ten-thousandths", "{ARINVOICE.InvTotal} >= 144.82", "ARINVOICE.InvTotal >= ?",
            {1448200LL});
        row("date range", "{ARINVOICE.InvDate} in Date(2004,01,15) to Date (2004,02,01)",
            "ARINVOICE.InvDate BETWEEN ? AND ?", {"2004-01-15", "2004-02-01"});
        row("and, or, not, parentheses",
            "not ({CallLog.Tech}='A' or {CallLog.Tech}='B') and {ARINVOICE.InvNum}<>1",
            "NOT (CallLog.Tech = ? OR CallLog.Tech = ?) AND ARINVOICE.InvNum <> ?",
            {"A", "B", 1LL});
    }

    void formsReadAsBoundConditions()
    {
        QFETCH(QString, formula);
        QFETCH(QString, sql);
        QFETCH(QList<QVariant>, values);
        const Result<SelectionCondition> condition = SelectionFormula::parse(formula, fakeField);
        QVERIFY2(condition, qPrintable(condition.status().message()));
        QCOMPARE(condition->sql, sql);
        QList<QVariant> bound;
        for (const SqlValue& value : condition->values)
            bound << plain(value);
        QCOMPARE(bound, values);
    }

    void refusalsAreExplained_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("reason"); // empty: the formula is accepted
        auto row = [](const char* name, const QString& formula, const char* reason) {
            QTest::newRow(name) << formula << reason;
        };
        const QString number = QStringLiteral("{ARINVOICE.InvNum}=1");
        const auto times = [](const char* text, qsizetype count) {
            return QString::fromLatin1(text).repeated(count);
        };
        const auto range = [](const char* from, const char* to) {
            return QStringLiteral("{ARINVOICE.InvDate} in Date(%1) to Date(%2)")
                .arg(QLatin1String(from), QLatin1String(to));
        };
        const int half = SelectionFormula::MaxNesting / 2;
        const int most = SelectionFormula::MaxComparisons;
        row("text for a number", "{ARINVOICE.InvNum}=abc", "a number is expected");
        row("no value", "{ARINVOICE.InvNum}=", "a number is expected");
        row("number for text", "{CallLog.Tech}=12", "text in quotes is expected");
        row("yes for text", "{CallLog.Tech}=Yes", "text in quotes is expected");
        row("unclosed text", "{CallLog.Tech}='JTT-1", "no closing quote");
        row("unknown field", "{Nope.Field}=1", "is not known");
        row("%1 in a field name", "{%1}=1", "the field {%1} should read {Table.Column}");
        row("date box left unformatted", range("1231", "2004,02,01"), "a year, a month and a day");
        row("no calendar date", range("2004,02,30", "2004,03,01"),
            "Date(2004,2,30) is not a calendar date");
        row("range without to", "{ARINVOICE.InvDate} in Date(2004,01,15) Date(2004,02,01)",
            "\"to\" is expected");
        row("%2 after the formula", number + " '%2'", "\"%2\" is not expected here");
        row("stray character", "{ARINVOICE.InvNum}=1 ; 2", "; is not understood");
        row("unbalanced", "({ARINVOICE.InvNum}=1", "a closing ) is missing");
        row("12,000 nested parentheses", times("(", 12000) + number + times(")", 12000),
            "longer than 10000 characters");
        row("1,500 nested not and parentheses", times("not (", 1500) + number + times(")", 1500),
            "nested more than 20 deep");
        row("nesting at the limit", times("(not ", half) + number + times(")", half), "");
        row("nesting one beyond", times("(not ", half) + "(" + number + ")" + times(")", half),
            "nested more than 20 deep");
        row("comparisons at the limit", times("{ARINVOICE.InvNum}=1 or ", most - 1) + number, "");
        row("one comparison beyond", times("{ARINVOICE.InvNum} in 1 to 2 or ", most) + number,
            "more than 200 comparisons");
        row("%3 filling a field name", "{" + times("%3", 4900) + "}=1", "the field {%3%3%3");
        row("number beyond 64 bits", "{ARINVOICE.InvNum}=" + times("9", 30), "");
        row("number beyond any range", "{ARINVOICE.InvNum}=" + times("9", 400), "is not a number");
        row("money beyond range", "{ARINVOICE.InvTotal}>=" + times("9", 30), "is not a number");
        row("year 10000", range("10000,1,1", "10000,12,31"),
            "Date(10000,1,1) has a year outside 1 to 9999");
        row("year zero", range("0,1,1", "2004,1,1"), "Date(0,1,1) has a year outside 1 to 9999");
        row("year beyond whole numbers", range("99999999999,1,1", "2004,1,1"), "in whole numbers");
        row("years 1 and 9999", range("1,1,1", "9999,12,31"), "");
    }

    void refusalsAreExplained()
    {
        QFETCH(QString, formula);
        QFETCH(QString, reason);
        const Result<SelectionCondition> condition = SelectionFormula::parse(formula, fakeField);
        const QString message = condition.status().message();
        if (reason.isEmpty()) {
            QVERIFY2(condition, qPrintable(message.left(300)));
            return;
        }
        QVERIFY(!condition);
        QVERIFY2(message.startsWith("Error in the record selection formula:"),
                 qPrintable(message.left(300)));
        QVERIFY2(message.contains(reason), qPrintable(message.left(300)));
        // The formula is shown as typed, and nothing typed in it is read as part of the message.
        if (formula.size() <= SelectionFormula::MaxLength)
            QVERIFY2(message.endsWith(formula), qPrintable(message.left(300)));
        QVERIFY2(message.size() < 2 * formula.size() + 200, qPrintable(message.left(300)));
    }

    void formulasWithinTheBoundsRunInTheDatabase_data()
    {
        QTest::addColumn<QString>("formula");
        const QString number = QStringLiteral("{ProbSol.TicketNum}=1");
        const int depth = SelectionFormula::MaxNesting;
        // Each nested "or (" holds the most of the database's parser stack.
        QTest::newRow("deepest nesting")
            << QStringLiteral("{ProbSol.TicketNum}=1 or (").repeated(depth) + number +
                   QStringLiteral(")").repeated(depth);
        QTest::newRow("most values") << QStringLiteral("{ProbSol.TicketNum} in 1 to 2 or ")
                                                .repeated(SelectionFormula::MaxComparisons - 1) +
                                            number;
    }

    void formulasWithinTheBoundsRunInTheDatabase()
    {
        QFETCH(QString, formula);
        TestFolder folder(TestFolder::Content::Demo);
        // This layout adds its own rule to the caller's formula.
        auto job = ReportJob::prepare(
            {resolveLayoutPath(QStringLiteral("NBS.rpt")), QString(), formula, QString()});
        QVERIFY2(job, qPrintable(job.status().message().left(300)));
        CollectingPageSink pages;
        const Status run = job.value()->run(pages);
        QVERIFY2(run, qPrintable(run.message()));
    }

    void fieldsTakeTheKindOfTheirColumn_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QStringList>("values"); // of the layout's number field, sorted
        auto row = [](const char* name, const char* layout, const char* formula,
                      const QStringList& values) {
            QTest::newRow(name) << layout << formula << values;
        };
        // Fields the layout does not show, described by the database's catalogue.
        const char* employees = "Employee List.rpt";
        row("date", employees, "{Employee.EmpDOB} in Date(1979,1,1) to Date(1986,12,31)",
            {"JTT-1", "SLM-2"});
        row("date refuses text", employees, "{Employee.EmpDOB} = '1985-04-12'", {"error"});
        row("text not compared without case", employees, "{Employee.EmpPic} = 'x.bmp'", {});
        row("whole number", employees, "{employee.male} = 1", {"JTT-1", "RP-3"});
        row("whole number refuses text", employees, "{Employee.Male} = '1'", {"error"});
        row("first row's column", "workorder.rpt", "{probsol.quickdescp} = 'x'", {});
        row("column the first row does not offer", "workorder.rpt", "{ProbSol.Solution} = 'x'",
            {"error"});
    }

    void fieldsTakeTheKindOfTheirColumn()
    {
        QFETCH(QString, layout);
        QFETCH(QString, formula);
        QFETCH(QStringList, values);
        TestFolder folder(TestFolder::Content::Demo);
        QStringList found =
            selected(layout, formula, layout.startsWith("Employee") ? "EmpID" : "WorkNum");
        found.sort();
        QCOMPARE(found, values);
    }

    void formulasSelectTheRightRecords()
    {
        TestFolder folder(TestFolder::Content::Demo);
        QVERIFY(DbProbe::exec("INSERT INTO ARInvoice (InvNum, InvDate, CustID, InvTotal) "
                              "VALUES (2, '2004-01-20', 'JTH-1', 100000), "
                              "(3, '2004-02-02', 'MIA-2', 200000)"));
        const QString tickets = QStringLiteral("Open Tickets By Technician.rpt");
        QCOMPARE(selected(tickets, "{CallLog.CallStatus}= 'Open'", "TicketNum"),
                 QStringList({"2", "3", "4", "6"}));
        QCOMPARE(selected(tickets, "{CallLog.Tech}='JTT-1'", "TicketNum"),
                 QStringList({"2", "1", "3"}));
        QCOMPARE(selected(tickets, "{CallLog.Tech}='rp-3'", "TicketNum"), QStringList({"5", "4"}));
        QCOMPARE(selected(tickets, "{CallLog.Tech}='x'' OR 1=1 --'", "TicketNum"), QStringList());
        QCOMPARE(selected(tickets, "", "TicketNum").size(), 6);
        QCOMPARE(selected(tickets,
                          "not {CallLog.Tech}='JTT-1' and not {CallLog.CallStatus}='Closed'",
                          "TicketNum"),
                 QStringList({"4", "6"}));
        QCOMPARE(selected(tickets, "not not {CallLog.Tech} in 'RP-3' to 'RP-3'", "TicketNum"),
                 QStringList({"5", "4"}));

        const QString invoices = QStringLiteral("invoice.rpt");
        QCOMPARE(selected(invoices, "{ARINVOICE.InvPrinted}= No", "InvNum"),
                 QStringList({"2", "3"}));
        QCOMPARE(selected(invoices, "{ARINVOICE.InvNum}=1", "PartNo"),
                 QStringList({"PSU-550", "LAB-HR"}));
        QCOMPARE(selected("Bill.rpt",
                          "{ARINVOICE.InvDate} in Date(2004,01,15) to Date (2004,02,01)", "InvNum"),
                 QStringList({"2"}));
        QCOMPARE(selected("Sales Tax.rpt",
                          "{ARINVOICE.InvDate} in Date(2004,01,20) to Date (2004,02,02)", "InvNum"),
                 QStringList({"2", "3"}));
        QCOMPARE(selected("workorder.rpt", "{RepairOrder.WorkNum}=1", "WorkNum"),
                 QStringList({"1"}));
        // A layout refuses fields of tables it does not read, and columns that do not exist.
        QCOMPARE(selected(invoices, "{CallLog.Tech}='JTT-1'", "InvNum"), QStringList{"error"});
        QCOMPARE(selected(invoices, "{ARINVOICE.Nothing}=1", "InvNum"), QStringList{"error"});
    }
};

QTEST_MAIN(TestFormula)
#include "tst_formula.moc"
