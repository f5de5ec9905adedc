// The model at the size the program must stay fast at: 10,000 persons and 30,000 links.
#include "foundation/ValueReader.h"
#include "foundation/ValueWriter.h"
#include "model/Records.h"
#include "model/TEgoNetModel.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kPersons = 10000;
constexpr int kLinks = 30000;

// A random network with a few attributes per person, not every person having every name, so
// that normalising has work to do.
std::unique_ptr<TEgoNetModel> BuildNetwork(int persons, int links)
{
    QRandomGenerator random(42);
    auto model = std::make_unique<TEgoNetModel>();
    const QStringList cities{"Rome", "Oslo", "Lima", "Kyiv", "Pune"};
    for (int i = 0; i < persons; ++i) {
        TOrganizedNode* node = model->NewNode(QPoint(random.bounded(2000), random.bounded(2000)),
                                                 QString("Person %1").arg(i));
        node->Attributes.AddAttribute("age", QString::number(18 + random.bounded(60)));
        if (i % 3 == 0)
            node->Attributes.AddAttribute("city", cities[random.bounded(int(cities.size()))]);
        if (i % 7 == 0)
            node->Attributes.AddAttribute("school", QString("School %1").arg(random.bounded(40)));
    }
    const QStringList types{"friend", "family", "work"};
    for (int i = 0; i < links; ++i) {
        TEgoNetEdge* link = model->NewLink(model->GetNode(random.bounded(persons)), model->GetNode(random.bounded(persons)),
                                           types[random.bounded(int(types.size()))], QString());
        link->Attributes.AddAttribute("strength", QString::number(random.bounded(10) / 10.0));
    }
    return model;
}

QByteArray WriteAll(const TEgoNetModel& model)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ValueWriter writer(buffer);
    for (const TOrganizedNode* node : model.Nodes())
        WriteNodeRecord(*node, writer);
    for (const TEgoNetEdge* link : model.Links())
        WriteLinkRecord(*link, writer);
    writer.Finish();
    return bytes;
}

void BM_BuildNetwork(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildNetwork(kPersons, kLinks));
}
BENCHMARK(BM_BuildNetwork)->Unit(benchmark::kMillisecond);

void BM_NormalizeAttributes(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto model = BuildNetwork(kPersons, kLinks);
        state.ResumeTiming();
        model->NormalizeNodeAttrs();
        model->NormalizeLinkAttrs();
    }
}
BENCHMARK(BM_NormalizeAttributes)->Unit(benchmark::kMillisecond);

void BM_WriteRecords(benchmark::State& state)
{
    auto model = BuildNetwork(kPersons, kLinks);
    model->NormalizeNodeAttrs();
    qint64 size = 0;
    for (auto _ : state)
        size = WriteAll(*model).size();
    state.counters["bytes"] = double(size);
}
BENCHMARK(BM_WriteRecords)->Unit(benchmark::kMillisecond);

void BM_ReadRecords(benchmark::State& state)
{
    auto model = BuildNetwork(kPersons, kLinks);
    model->NormalizeNodeAttrs();
    QByteArray bytes = WriteAll(*model);
    for (auto _ : state) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        ValueReader reader(buffer);
        std::vector<std::unique_ptr<TOrganizedNode>> nodes;
        std::vector<std::unique_ptr<TEgoNetEdge>> links;
        for (int i = 0; i < kPersons; ++i) {
            nodes.push_back(std::make_unique<TOrganizedNode>());
            ReadNodeRecord(*nodes.back(), reader);
        }
        QString source, target;
        for (int i = 0; i < kLinks; ++i) {
            links.push_back(std::make_unique<TEgoNetEdge>());
            ReadLinkRecord(*links.back(), reader, source, target);
        }
        benchmark::DoNotOptimize(links.size());
    }
}
BENCHMARK(BM_ReadRecords)->Unit(benchmark::kMillisecond);

void BM_NextNodeName(benchmark::State& state)
{
    auto model = BuildNetwork(kPersons, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(model->NextNodeName());
}
BENCHMARK(BM_NextNodeName)->Unit(benchmark::kMillisecond);

void BM_AttributeValues(benchmark::State& state)
{
    auto model = BuildNetwork(kPersons, kLinks);
    model->NormalizeNodeAttrs();
    QStringList values;
    for (auto _ : state) {
        model->NodeAttrValues("age", values, false);
        model->NodeAttrValues("city", values, false);
    }
}
BENCHMARK(BM_AttributeValues)->Unit(benchmark::kMillisecond);

void BM_DeleteTenPercentOfPersons(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto model = BuildNetwork(kPersons, kLinks);
        state.ResumeTiming();
        for (int i = 0; i < kPersons / 10; ++i)
            model->DeleteNode(model->GetNode(model->NodeCount() - 1));
    }
}
BENCHMARK(BM_DeleteTenPercentOfPersons)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
