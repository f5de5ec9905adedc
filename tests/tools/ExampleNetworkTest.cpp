#include "GraphJson.h"

#include "settings/TIniFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineF>
#include <QPoint>
#include <QSet>

#include <gtest/gtest.h>

#include <map>

// The example network that the build makes and the installation ships, read as the program reads
// it. Opening it must show what the rendered picture shows, and its persons must fit the lists
// that the program ships in "Circlewright.in_".

namespace {

QString Value(const QJsonValue& object, const QString& name)
{
    for (const QJsonValue entry : object[QStringLiteral("Attributes")].toArray()) {
        const QString text = entry.toString();
        if (text.startsWith(name + QLatin1Char('=')))
            return text.mid(name.size() + 1);
    }
    return QString();
}

class ExampleNetwork : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QJsonObject json = QJsonDocument::fromJson(DumpGraphFile(QStringLiteral(CW_EXAMPLE_NETWORK))).object();
        Nodes = json[QStringLiteral("Nodes")].toArray();
        Links = json[QStringLiteral("Links")].toArray();
        for (int i = 0; i < Nodes.size(); ++i)
            IndexOf[Nodes[i][QStringLiteral("ID")].toString()] = i;
    }

    QJsonArray Nodes;
    QJsonArray Links;
    std::map<QString, int> IndexOf;
    const TIniFile Lists{QStringLiteral(CW_SHIPPED_DATA_DIR "/Circlewright.in_")};
};

TEST_F(ExampleNetwork, IsASmallConnectedNetworkOfNamedPersons)
{
    ASSERT_GE(Nodes.size(), 12);
    ASSERT_LE(Nodes.size(), 20);
    ASSERT_EQ(IndexOf.size(), size_t(Nodes.size())) << "two persons share an ID";
    for (const QJsonValue node : Nodes) {
        // The Persons page builds the label from these two and would rewrite any other label.
        const QString caption = node[QStringLiteral("Caption")].toString();
        EXPECT_EQ(caption, Value(node, QStringLiteral("name_first")) + " " + Value(node, QStringLiteral("name_last")));
    }

    // Everybody can be reached from the first person over links.
    std::vector<std::vector<int>> neighbours(Nodes.size());
    for (const QJsonValue link : Links) {
        const int a = IndexOf.at(link[QStringLiteral("Source")].toString());
        const int b = IndexOf.at(link[QStringLiteral("Target")].toString());
        neighbours[a].push_back(b);
        neighbours[b].push_back(a);
    }
    std::vector<bool> reached(Nodes.size(), false);
    std::vector<int> todo{0};
    reached[0] = true;
    while (!todo.empty()) {
        const int n = todo.back();
        todo.pop_back();
        for (int m : neighbours[n])
            if (!reached[m])
                todo.push_back(m), reached[m] = true;
    }
    for (int i = 0; i < Nodes.size(); ++i)
        EXPECT_TRUE(reached[i]) << Nodes[i][QStringLiteral("Caption")].toString().toStdString() << " is cut off";
}

TEST_F(ExampleNetwork, PersonsAreSpreadOverTheDefaultViewWithRoomForTheirLabels)
{
    std::vector<QPoint> positions;
    for (const QJsonValue node : Nodes) {
        const QJsonArray p = node[QStringLiteral("Position")].toArray();
        const QPoint position(p[0].toInt(), p[1].toInt());
        const QString caption = node[QStringLiteral("Caption")].toString();
        // Labels stand to the right of their person; about 6 pixels a letter.
        EXPECT_GE(position.x(), 20) << caption.toStdString();
        EXPECT_LE(position.x() + 15 + 6 * caption.size(), 800) << caption.toStdString();
        EXPECT_GE(position.y(), 20) << caption.toStdString();
        EXPECT_LE(position.y(), 580) << caption.toStdString();
        for (const QPoint& other : positions)
            EXPECT_GE(QLineF(position, other).length(), 60) << caption.toStdString() << " crowds another person";
        positions.push_back(position);
    }
}

TEST_F(ExampleNetwork, LinksHaveTheShippedTypesColoursAndAStrength)
{
    // Opening a network colours every link by its type from the settings file, so the example
    // must already look that way.
    std::map<QString, uint32_t> typeColours;
    for (const QString& type : Lists.ReadSection(QStringLiteral("LinkTypes")))
        typeColours[type] = uint32_t(Lists.ReadInteger(QStringLiteral("LinkTypes"), type, -1));
    ASSERT_GE(typeColours.size(), 3u);

    QSet<QString> typesUsed;
    QSet<QString> pairs;
    for (const QJsonValue link : Links) {
        const QString type = link[QStringLiteral("TypeName")].toString();
        const QString source = link[QStringLiteral("Source")].toString();
        const QString target = link[QStringLiteral("Target")].toString();
        const std::string where = (source + "-" + target + " " + type).toStdString();
        ASSERT_TRUE(typeColours.count(type)) << where << ": type not in the shipped list";
        typesUsed.insert(type);
        EXPECT_EQ(link[QStringLiteral("Color")].toInteger(), typeColours[type]) << where;
        EXPECT_NE(source, target) << where;
        EXPECT_FALSE(link[QStringLiteral("Directed")].toBool()) << where << ": the Connections page makes no directed links";
        const QString pair = std::min(source, target) + std::max(source, target) + type;
        EXPECT_FALSE(pairs.contains(pair)) << where << ": twice";
        pairs.insert(pair);

        // The Display page widens links by the attribute; the layout pulls by the field.
        const double strength = link[QStringLiteral("Strength")].toDouble();
        EXPECT_GT(strength, 0.0) << where;
        EXPECT_LE(strength, 1.0) << where;
        bool isNumber = false;
        EXPECT_NEAR(Value(link, QStringLiteral("strength")).toDouble(&isNumber), strength, 1e-6) << where;
        EXPECT_TRUE(isNumber) << where;
    }
    EXPECT_GE(typesUsed.size(), 3);
}

TEST_F(ExampleNetwork, EducationAndWorkAreInTheShippedLists)
{
    // A value that is not in its list shows blank on the Persons page, and storing the person
    // would then erase it.
    const QStringList schools = Lists.ReadSection(QStringLiteral("Schools"));
    const QStringList work = Lists.ReadSection(QStringLiteral("Work"));
    for (const QJsonValue node : Nodes) {
        const std::string caption = node[QStringLiteral("Caption")].toString().toStdString();
        EXPECT_TRUE(schools.contains(Value(node, QStringLiteral("education")), Qt::CaseInsensitive)) << caption;
        EXPECT_TRUE(work.contains(Value(node, QStringLiteral("work_type")), Qt::CaseInsensitive)) << caption;
    }
}

} // namespace
