// vCards as phones and mail programs write them, and our own written back.
#include "ExchangeTestSupport.h"

#include "exchange/ExchangeError.h"
#include "exchange/TVCardReader.h"
#include "exchange/TVCardWriter.h"

#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

namespace {

QImage Picture()
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(QColor(10, 200, 30));
    image.setPixel(1, 1, qRgb(255, 0, 0));
    return image;
}

QByteArray PngBase64()
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    Picture().save(&buffer, "PNG");
    return bytes.toBase64();
}

std::unique_ptr<TEgoNetModel> Read(const QByteArray& bytes, QStringList* notes = nullptr)
{
    return ReadWith<TVCardReader>(bytes, QStringLiteral("cards.vcf"), notes);
}

QString ErrorOf(const QByteArray& bytes)
{
    return ReadErrorWith<TVCardReader>(bytes, QStringLiteral("cards.vcf"));
}

} // namespace

TEST(VCardReader, MapsEveryField)
{
    const QByteArray card = "BEGIN:VCARD\r\nVERSION:3.0\r\n"
                            "N:Lee Smith;Ann;;Dr.;\r\nFN:Dr. Ann Lee Smith\r\n"
                            "X-GENDER:Female\r\nBDAY:1985-04-12\r\n"
                            "item1.EMAIL;TYPE=INTERNET:ann@example.org\r\nitem1.X-ABLabel:private\r\n"
                            "TEL;TYPE=HOME,VOICE:030 1234\r\nTEL;TYPE=WORK:040 5678\r\nTEL;TYPE=CELL:0170 99\r\n"
                            "ORG:Acme Ltd.;Research\r\nTITLE:Chemist\r\nCATEGORIES:Friends,Chess club\r\n"
                            "PHOTO;ENCODING=b;TYPE=PNG:" + PngBase64() + "\r\nEND:VCARD\r\n";
    const auto model = Read(card);
    ASSERT_EQ(model->NodeCount(), 1);
    const TEgoNetNode* p = model->GetNode(0);
    EXPECT_EQ(p->Caption(), "Dr. Ann Lee Smith");
    EXPECT_EQ(Field(p, PersonKeys::FirstName), "Ann");
    EXPECT_EQ(Field(p, PersonKeys::LastName), "Lee Smith");
    EXPECT_EQ(Field(p, PersonKeys::Sex), "female");
    EXPECT_EQ(Field(p, PersonKeys::BirthdayMonth), "April");
    EXPECT_EQ(Field(p, PersonKeys::BirthdayYear), "1985");
    EXPECT_EQ(Field(p, PersonKeys::EMail), "ann@example.org");
    EXPECT_EQ(Field(p, PersonKeys::HomePhone), "030 1234");
    EXPECT_EQ(Field(p, PersonKeys::WorkPhone), "040 5678");
    EXPECT_EQ(Field(p, PersonKeys::CellPhone), "0170 99");
    EXPECT_EQ(Field(p, PersonKeys::Work), "Acme Ltd.");
    EXPECT_EQ(Field(p, PersonKeys::Categories), "Friends,Chess club");
    EXPECT_EQ(p->Image.pixel(1, 1), qRgb(255, 0, 0));
    EXPECT_NE(p->ImageID, kNoImageID);
}

TEST(VCardReader, ToleratesFoldingQuotedPrintableAndWindows1252)
{
    // A 2.1 card of an old phone: bare type parameters, a soft line break, Latin bytes.
    const QByteArray card = "BEGIN:VCARD\nVERSION:2.1\n"
                            "N;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:M=C3=BCller;J=\n =C3=BCrgen\n"
                            "FN:J\xfcrgen M\xfcller\n"
                            "NOTE:a long\n  folded note\n"
                            "TEL;CELL;VOICE:+49 1\n"
                            "GENDER:M;he/him\nBDAY:--0412\n"
                            "EMAIL:jm@exam\n ple.org\n"
                            "END:VCARD\n";
    const auto model = Read(card);
    ASSERT_EQ(model->NodeCount(), 1);
    const TEgoNetNode* p = model->GetNode(0);
    EXPECT_EQ(Field(p, PersonKeys::LastName), QString::fromUtf8("Müller"));
    EXPECT_EQ(Field(p, PersonKeys::FirstName), QString::fromUtf8("Jürgen"));
    EXPECT_EQ(p->Caption(), QString::fromUtf8("Jürgen Müller"));
    EXPECT_EQ(Field(p, PersonKeys::CellPhone), "+49 1");
    EXPECT_EQ(Field(p, PersonKeys::Sex), "male");
    EXPECT_EQ(Field(p, PersonKeys::BirthdayMonth), "April");
    EXPECT_EQ(Field(p, PersonKeys::BirthdayYear), "");
    EXPECT_EQ(Field(p, PersonKeys::EMail), "jm@example.org");
}

TEST(VCardReader, PictureLinksAndOddBirthdaysAreNotedNotRead)
{
    QStringList notes;
    const auto model = Read("BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Bo\r\nPHOTO:http://example.org/bo.jpg\r\n"
                            "BDAY:sometime\r\nEND:VCARD\r\n"
                            "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Cy\r\nBDAY:1990-07\r\nPHOTO:data:image/png;base64," +
                                PngBase64() + "\r\nEND:VCARD\r\n",
                            &notes);
    ASSERT_EQ(model->NodeCount(), 2);
    EXPECT_EQ(model->GetNode(0)->ImageID, kNoImageID);
    ASSERT_EQ(notes.size(), 2);
    EXPECT_TRUE(notes[0].contains("cards.vcf, line 4") && notes[0].contains("link")) << notes[0].toStdString();
    EXPECT_TRUE(notes[1].contains("sometime"));
    EXPECT_NE(model->GetNode(1)->ImageID, kNoImageID);
    EXPECT_EQ(Field(model->GetNode(1), PersonKeys::BirthdayMonth), "July");
    EXPECT_EQ(Field(model->GetNode(1), PersonKeys::FirstName), "Cy");
}

TEST(VCardReader, BadInputNamesFileAndLine)
{
    EXPECT_EQ(ErrorOf("BEGIN:VCARD\nFN:A\n"), "cards.vcf, line 1: the card begun here has no END:VCARD");
    EXPECT_EQ(ErrorOf("FN:A\n"), QString::fromUtf8("cards.vcf, line 1: \"FN:A\" outside BEGIN:VCARD … END:VCARD"));
    EXPECT_EQ(ErrorOf("BEGIN:VCARD\nFN:A\nno colon here\nEND:VCARD\n"),
              "cards.vcf, line 3: \"no colon here\" is not a vCard property (no \":\")");
    EXPECT_EQ(ErrorOf("BEGIN:VCARD\nBEGIN:VCARD\n"), "cards.vcf, line 2: BEGIN:VCARD inside the card begun on line 1");
    EXPECT_EQ(ErrorOf(""), "cards.vcf, line 1: no vCard in the file");
}

TEST(VCardWriter, RoundTripKeepsWhatTheCardCarries)
{
    TEgoNetModel model;
    TOrganizedNode* ann = AddPerson(model, QString::fromUtf8("Ånn;, \\x"), "Lee Smith", "ann@example.org");
    SetPersonValue(*ann, PersonKeys::Sex, "female");
    SetPersonValue(*ann, PersonKeys::BirthdayMonth, "December");
    SetPersonValue(*ann, PersonKeys::BirthdayYear, "1971");
    SetPersonValue(*ann, PersonKeys::HomePhone, "030 1");
    SetPersonValue(*ann, PersonKeys::WorkPhone, "040 2");
    SetPersonValue(*ann, PersonKeys::CellPhone, "0170 3");
    SetPersonValue(*ann, PersonKeys::Work, "Acme, Inc.");
    SetPersonValue(*ann, PersonKeys::Categories, "Friends,Chess");
    SetPicture(*ann, Picture());
    TOrganizedNode* bo = AddPerson(model, "Bo", QString(QChar('x')).repeated(200));
    SetPersonValue(*bo, PersonKeys::BirthdayMonth, "May");

    const QByteArray written = TVCardWriter::Write({ann, bo});
    for (const QByteArray& line : written.split('\n'))
        EXPECT_LE(line.size(), 76) << "unfolded line";
    const auto back = Read(written);
    ASSERT_EQ(back->NodeCount(), 2);
    const TEgoNetNode* a = back->GetNode(0);
    EXPECT_EQ(a->Caption(), ann->Caption());
    for (const QString& key : {PersonKeys::FirstName, PersonKeys::LastName, PersonKeys::Sex, PersonKeys::BirthdayMonth,
                               PersonKeys::BirthdayYear, PersonKeys::EMail, PersonKeys::HomePhone, PersonKeys::WorkPhone,
                               PersonKeys::CellPhone, PersonKeys::Work, PersonKeys::Categories})
        EXPECT_EQ(Field(a, key), Field(ann, key)) << key.toStdString();
    EXPECT_EQ(a->Image.convertToFormat(QImage::Format_RGB32), Picture());
    EXPECT_EQ(Field(back->GetNode(1), PersonKeys::LastName), Field(bo, PersonKeys::LastName));
    EXPECT_EQ(Field(back->GetNode(1), PersonKeys::BirthdayMonth), "May");
    EXPECT_TRUE(written.contains("BDAY:--05\r\n"));
}
