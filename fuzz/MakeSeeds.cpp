// Writes the seed corpus of the fuzz targets with the program's own writers:
//   fuzz_seeds fuzz/corpus
#include "model/TEgoNetModel.h"
#include "settings/GraphFile.h"
#include "settings/TEgoNetDisplaySettings.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <functional>

namespace {

void Save(const QString& folder, const QString& name, const QByteArray& bytes)
{
    QDir().mkpath(folder);
    QFile file(QDir(folder).filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
}

QByteArray Written(const std::function<void(QIODevice&)>& write)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    write(buffer);
    return bytes;
}

// Three friends and a loner with most of what a record can carry.
void FillNetwork(TEgoNetModel& model)
{
    TOrganizedNode* ann = model.NewNode(QPoint(40, 40), "Ann");
    TOrganizedNode* bob = model.NewNode(QPoint(200, 60), QString::fromUtf8("Bj\xc3\xb6rn"));
    TOrganizedNode* cy = model.NewNode(QPoint(120, 180), "Cy");
    TOrganizedNode* dan = model.NewNode(QPoint(300, 200), "Dan");
    ann->Attributes = TAttributes{"age=31", "city=Rome"};
    bob->Attributes = TAttributes{"age=na", "city=Oslo"};
    QImage picture(6, 5, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(2, 2, qRgb(200, 30, 30));
    cy->Image = picture;
    cy->BuildImageMasks();
    cy->ImageTransparent = true;
    cy->Clusters = {"1", "2"};
    dan->IsGroup = true;
    ann->GroupIDs = {dan->ID};
    ann->Font.Style = TFontData::fsBold | TFontData::fsStrikeOut;
    TEgoNetEdge* friends = model.NewLink(ann, bob, "friend", "old friends");
    friends->Bends.Add(QPoint(100, 20));
    friends->Attributes = TAttributes{"strength=0.8"};
    model.NewLink(bob, cy, "work", "");
    model.NewLink(cy, cy, "friend", "loop");
    model.NewLink(dan, ann, "family", "")->Directed = false;
    model.SetShownLinkTypes({"friend", "work"});
    ann->SetSelected(true);
    bob->SetSelected(true);
    model.UpdateLinkSelection();
}

} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds CORPUS_FOLDER\n");
        return 1;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));

    TEgoNetDisplaySettings plain;
    TEgoNetDisplaySettings decorated;
    decorated.BkColor = 0x203040;
    decorated.BkImage = QImage(4, 3, QImage::Format_RGB32);
    decorated.BkImage.fill(qRgb(10, 200, 90));
    decorated.nFont.Style = TFontData::fsItalic | TFontData::fsUnderline;
    decorated.eWeight = 0.5f;

    TEgoNetModel empty;
    TEgoNetModel network;
    FillNetwork(network);

    Save(root.filePath("graphfile"), "empty.eng", GraphFileBytes({}, plain, empty));
    Save(root.filePath("graphfile"), "network.eng",
         GraphFileBytes({"Friends", QString::fromUtf8("Caf\xc3\xa9 crowd")}, decorated, network));

    Save(root.filePath("paste"), "selection.bin", Written([&](QIODevice& d) { network.WriteSelection(d); }));
    Save(root.filePath("paste"), "model.bin", Written([&](QIODevice& d) { network.WriteModel(d); }));

    Save(root.filePath("settings"), "defaults.bin", Written([&](QIODevice& d) { plain.WriteToStream(d); }));
    Save(root.filePath("settings"), "decorated.bin", Written([&](QIODevice& d) { decorated.WriteToStream(d); }));

    Save(root.filePath("ini"), "display.ini",
         "[Style]\r\nStyleFile=Classic.ini\r\n\r\n[EgoNet Display General Settings]\r\nBkColor=0xFFFFFF\r\n"
         "ClusterColor=$FF999A\r\nShowShape=0\r\nShowImage=0\r\nAnimation=1\r\n\r\n[Node Settings]\r\n"
         "nShape=9\r\nnHeight=20\r\nnFont=Arial, 10, 255, fsBold fsUnderline\r\nnImageID=00000000\r\n\r\n"
         "[Edge Settings]\r\neColor=13992448\r\neWeight=0.75\r\neFont=Tahoma,7,9917184\r\n");
    Save(root.filePath("ini"), "lists.ini",
         QString::fromUtf8("; lists of the pages\n[Schools]\nOak High=1\nSt. Mary's=1\n[LinkTypes]\nis_linked_to=13992448\n"
                           "friend = 255\nCaf\xc3\xa9 owner=65280\n[Work]\n")
             .toUtf8());
    return 0;
}
