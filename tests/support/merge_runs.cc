#include "support/merge_runs.h"

#include <memory>

#include "blocks/blocks.h"
#include "merge/chain.h"
#include "merge/dedup.h"
#include "support/literal_merge.h"

namespace linechain::testing {

namespace {

bool Dedup(Stages s) { return s != Stages::kChains; }
bool Chain(Stages s) { return s != Stages::kDuplicates; }

}  // namespace

MergeRun RunProgram(const std::vector<std::string>& points, const std::vector<int>& sizes,
                    Stages stages) {
  auto store = std::make_unique<PointStore>();
  auto table = std::make_unique<BlockTable>();
  store->clear();
  for (const auto& p : points) store->add(p);
  int at = 0, n = static_cast<int>(sizes.size());
  for (int b = 0; b < n; ++b) {
    table->nstart[b] = at;
    table->ndata[b] = sizes[static_cast<size_t>(b)];
    at += table->ndata[b];
  }
  table->nblock = table->ntotal = n;
  MergeRun r;
  TextWriter console, track;
  console.open(std::make_unique<StringSink>(r.console));
  track.open(std::make_unique<StringSink>(r.track));
  Status st;
  if (Dedup(stages)) {
    st = remove_duplicates(*store, *table, console);
    r.flag.assign(table->flag, table->flag + n);
    r.dupof.assign(n, 0);
    for (int b = 0; b < n; ++b) r.dupof[b] = table->flag[b] ? table->dupof[b] : 0;
    for (int b = 0; !st && b < table->nblock; ++b) r.table.emplace_back(table->nstart[b], table->ndata[b]);
  }
  if (!st && Chain(stages)) st = build_chains(*store, *table, "b", track, console);
  if (st) r.failure = st->message;
  console.close();
  track.close();
  return r;
}

MergeRun RunLiteral(const std::vector<std::string>& points, const std::vector<int>& sizes,
                    Stages stages) {
  literal::Table t = literal::MakeTable(points, sizes);
  int n = static_cast<int>(sizes.size());
  MergeRun r;
  TextWriter console, track;
  console.open(std::make_unique<StringSink>(r.console));
  track.open(std::make_unique<StringSink>(r.track));
  Status st;
  if (Dedup(stages)) {
    st = literal::RemoveDuplicates(t, console);
    r.flag = t.flag;
    r.dupof.assign(n, 0);
    for (int b = 0; b < n; ++b) r.dupof[b] = t.flag[b] ? t.dupof[b] : 0;
    for (int b = 0; !st && b < t.nblock; ++b) r.table.emplace_back(t.nstart[b], t.ndata[b]);
  }
  if (!st && Chain(stages)) st = literal::BuildChains(t, "b", track, console);
  if (st) r.failure = st->message;
  console.close();
  track.close();
  return r;
}

std::string Describe(const MergeRun& r) {
  std::string s = "console:\n" + r.console + "track:\n" + r.track + "failure: " + r.failure +
                  "\nflag/dupof:";
  for (size_t b = 0; b < r.flag.size(); ++b)
    s += " " + std::to_string(r.flag[b]) + "/" + std::to_string(r.dupof[b]);
  return s;
}

}  // namespace linechain::testing
