// Contact lists exported by mail programs, built from their real header rows.
#include "ExchangeTestSupport.h"

#include "exchange/CsvFormat.h"
#include "exchange/ExchangeError.h"
#include "exchange/TContactCsvReader.h"

#include <gtest/gtest.h>

namespace {

// A row under a real header: the named columns get the values, the others stay empty.
QByteArray Contact(const QString& headerFile, const QList<QPair<QString, QString>>& values)
{
    const QByteArray header = ReadTestData(headerFile);
    const QStringList titles = ParseCsv(QString::fromUtf8(header), headerFile).value(0).Fields;
    QStringList row(titles.size());
    for (const auto& [title, value] : values) {
        const qsizetype column = titles.indexOf(title);
        EXPECT_GE(column, 0) << "no column " << title.toStdString();
        if (column >= 0)
            row[column] = value;
    }
    return header + CsvLine(row).toUtf8();
}

std::unique_ptr<TEgoNetModel> Read(const QByteArray& bytes)
{
    return ReadWith<TContactCsvReader>(bytes, QStringLiteral("contacts.csv"));
}

QString ErrorOf(const QByteArray& bytes)
{
    return ReadErrorWith<TContactCsvReader>(bytes, QStringLiteral("contacts.csv"));
}

void ExpectAnn(const TEgoNetModel& model)
{
    ASSERT_EQ(model.NodeCount(), 1);
    const TEgoNetNode* p = model.GetNode(0);
    EXPECT_EQ(p->Caption(), "Ann Lee");
    EXPECT_EQ(Field(p, PersonKeys::FirstName), "Ann");
    EXPECT_EQ(Field(p, PersonKeys::LastName), "Lee");
    EXPECT_EQ(Field(p, PersonKeys::EMail), "ann@example.org");
    EXPECT_EQ(Field(p, PersonKeys::HomePhone), "030 1");
    EXPECT_EQ(Field(p, PersonKeys::WorkPhone), "040 2");
    EXPECT_EQ(Field(p, PersonKeys::CellPhone), "0170 3");
    EXPECT_EQ(Field(p, PersonKeys::BirthdayMonth), "April");
    EXPECT_EQ(Field(p, PersonKeys::BirthdayYear), "1985");
    EXPECT_EQ(Field(p, PersonKeys::Work), "Acme");
    EXPECT_EQ(Field(p, PersonKeys::Categories), "Friends,Chess");
}

} // namespace

TEST(ContactCsvReader, GoogleCurrentLegacyAndOutlookGiveTheSamePerson)
{
    ExpectAnn(*Read(Contact("google-contacts-header.csv",
                            {{"First Name", "Ann"},
                             {"Last Name", "Lee"},
                             {"E-mail 1 - Label", "* Home"},
                             {"E-mail 1 - Value", "ann@example.org ::: ann@old.example.org"},
                             {"Phone 1 - Label", "Mobile"},
                             {"Phone 1 - Value", "0170 3"},
                             {"Phone 2 - Label", "Work"},
                             {"Phone 2 - Value", "040 2"},
                             {"Phone 3 - Label", "Home"},
                             {"Phone 3 - Value", "030 1"},
                             {"Birthday", "1985-04-12"},
                             {"Organization Name", "Acme"},
                             {"Organization Title", "Chemist"},
                             {"Labels", "* myContacts ::: Friends ::: Chess"}})));
    ExpectAnn(*Read(Contact("google-legacy-header.csv",
                            {{"Name", "Ann Lee"},
                             {"Given Name", "Ann"},
                             {"Family Name", "Lee"},
                             {"E-mail 1 - Type", "* Home"},
                             {"E-mail 1 - Value", "ann@example.org"},
                             {"Phone 1 - Type", "Home"},
                             {"Phone 1 - Value", "030 1"},
                             {"Phone 2 - Type", "Work"},
                             {"Phone 2 - Value", "040 2"},
                             {"Phone 3 - Type", "Mobile"},
                             {"Phone 3 - Value", "0170 3"},
                             {"Birthday", "1985-04-12"},
                             {"Organization 1 - Name", "Acme"},
                             {"Group Membership", "* myContacts ::: Friends ::: Chess"}})));
    ExpectAnn(*Read(Contact("outlook-contacts-header.csv", {{"First Name", "Ann"},
                                                            {"Last Name", "Lee"},
                                                            {"E-mail Address", "ann@example.org"},
                                                            {"Home Phone", "030 1"},
                                                            {"Business Phone", "040 2"},
                                                            {"Mobile Phone", "0170 3"},
                                                            {"Birthday", "4/12/1985"},
                                                            {"Company", "Acme"},
                                                            {"Job Title", "Chemist"},
                                                            {"Categories", "Friends;Chess"}})));
}

TEST(ContactCsvReader, HeaderSpellingBomQuotesAndWindows1252)
{
    const auto model = Read("\xEF\xBB\xBF" "FIRST NAME,last-name,Email,Gender\r\n"
                            "\"Jo, Jr.\",\"M\xC3\xBCller\nzwei\",jo@x.org,Male\r\n\r\n"
                            "Bo,,,female\r\n");
    ASSERT_EQ(model->NodeCount(), 2);
    EXPECT_EQ(Field(model->GetNode(0), PersonKeys::FirstName), "Jo, Jr.");
    EXPECT_EQ(Field(model->GetNode(0), PersonKeys::LastName), QString::fromUtf8("Müller\nzwei"));
    EXPECT_EQ(Field(model->GetNode(0), PersonKeys::EMail), "jo@x.org");
    EXPECT_EQ(Field(model->GetNode(0), PersonKeys::Sex), "male");
    EXPECT_EQ(Field(model->GetNode(1), PersonKeys::Sex), "female");
    const auto latin = Read("First Name,Last Name\nJ\xfcrgen,M\xfcller\n");
    EXPECT_EQ(latin->GetNode(0)->Caption(), QString::fromUtf8("Jürgen Müller"));
}

TEST(ContactCsvReader, BadInputNamesFileAndLine)
{
    EXPECT_EQ(ErrorOf("First Name,Last Name\nAnn,Lee\n\"Bo,Ek\n"), "contacts.csv, line 3: a quoted field that never ends");
    EXPECT_EQ(ErrorOf("First Name,Last Name\nAnn,Lee\nBo,Ek,extra\n"),
              "contacts.csv, line 3: 3 fields, but the header names 2");
    EXPECT_TRUE(ErrorOf("Street,City\nMain St,Town\n").startsWith("contacts.csv, line 1: the header has no column"));
    EXPECT_EQ(ErrorOf(""), "contacts.csv, line 1: the file is empty");
}

TEST(CsvFormat, FieldsThatNeedQuotesRoundTrip)
{
    const QStringList fields{"plain", "a,b", "say \"hi\"", "two\nlines", " padded ", ""};
    const QList<TCsvRow> rows = ParseCsv(CsvLine(fields) + CsvLine({"x"}), "t.csv");
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].Fields, fields);
    EXPECT_EQ(rows[1].Line, 3);
}
