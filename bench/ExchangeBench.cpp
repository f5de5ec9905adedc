// Import and export at the size a user must never wait a second for: 10,000 contacts in, and a
// network of 10,000 persons and 30,000 links out to every format.
#include "exchange/ExchangeFormats.h"
#include "exchange/PersonFields.h"
#include "exchange/TVCardReader.h"
#include "exchange/TVCardWriter.h"
#include "model/TDisplayDefaults.h"
#include "model/TEgoNetModel.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kPersons = 10000;
constexpr int kLinks = 30000;

void Describe(TEgoNetNode& person, int i)
{
    SetPersonValue(person, PersonKeys::FirstName, QStringLiteral("First%1").arg(i));
    SetPersonValue(person, PersonKeys::LastName, QStringLiteral("Last%1").arg(i));
    SetPersonValue(person, PersonKeys::EMail, QStringLiteral("person%1@example.org").arg(i));
    SetPersonValue(person, PersonKeys::Sex, i % 2 ? kMale : kFemale);
    SetPersonValue(person, PersonKeys::BirthdayMonth, MonthName(1 + i % 12));
    SetPersonValue(person, PersonKeys::BirthdayYear, QString::number(1950 + i % 60));
    SetPersonValue(person, PersonKeys::CellPhone, QStringLiteral("0170 %1").arg(i));
    SetPersonValue(person, PersonKeys::Work, QStringLiteral("Company %1").arg(i % 100));
    SetPersonValue(person, PersonKeys::Categories, QStringLiteral("Friends,Club %1").arg(i % 7));
    person.SetCaption(QStringLiteral("First%1 Last%1").arg(i));
}

std::unique_ptr<TEgoNetModel> BuildNetwork()
{
    auto model = std::make_unique<TEgoNetModel>();
    for (int i = 0; i < kPersons; ++i) {
        TOrganizedNode* person = model->NewNode(QPoint(15 + i % 100 * 20, 15 + i / 100 * 20), QString());
        person->ID = QStringLiteral("%1").arg(i, 8, 16, QChar('0')).toUpper();
        Describe(*person, i);
    }
    QRandomGenerator random(7);
    for (int i = 0; i < kLinks; ++i)
        model->NewLink(model->GetNode(random.bounded(kPersons)), model->GetNode(random.bounded(kPersons)), "friend",
                       QString());
    model->NormalizeNodeAttrs();
    return model;
}

QByteArray Cards()
{
    TEgoNetModel model;
    QList<const TEgoNetNode*> persons;
    for (int i = 0; i < kPersons; ++i) {
        TOrganizedNode* person = model.NewNode(QPoint(), QString());
        Describe(*person, i);
        persons.append(person);
    }
    return TVCardWriter::Write(persons);
}

// Reading the cards and merging them into an empty network, as File > Import does.
void BM_ImportVCards(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("contacts.vcf");
    QFile out(file);
    out.open(QIODevice::WriteOnly);
    out.write(Cards());
    out.close();
    for (auto _ : state) {
        TEgoNetModel model;
        const TImportReport report = ImportFiles(model, {file}, TDisplayDefaults());
        benchmark::DoNotOptimize(report.Added);
    }
    state.counters["persons"] = kPersons;
}

void BM_Export(benchmark::State& state, const char* name)
{
    const auto model = BuildNetwork();
    QTemporaryDir dir;
    const QString file = dir.filePath(QLatin1String(name));
    for (auto _ : state)
        ExportNetwork(*model, file, "bench");
    state.counters["persons"] = kPersons;
    state.counters["links"] = kLinks;
}

} // namespace

BENCHMARK(BM_ImportVCards)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, graphml, "net.graphml")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, gexf, "net.gexf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, vcf, "net.vcf")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Export, csv, "net.csv")->Unit(benchmark::kMillisecond);
