#include "support/merge_runs.h"

#include <memory>
#include <tuple>

#include "blocks/blocks.h"
#include "merge/chain.h"
#include "merge/dedup.h"
#include "support/literal_merge.h"

namespace linechain::testing {

namespace {

// Runs the stages asked for with `dedup` and `chain`, then reads the marks and
// the table left from `view` (which gives flag, dupof, nstart, ndata, nblock).
template <typename Dedup, typename Chain, typename View>
MergeRun Capture(Stages stages, int n, Dedup dedup, Chain chain, View view) {
  MergeRun r;
  TextWriter console, track;
  console.open(std::make_unique<StringSink>(r.console));
  track.open(std::make_unique<StringSink>(r.track));
  Status st;
  if (stages != Stages::kChains) {
    st = dedup(console);
    for (int b = 0; b < n; ++b) {
      auto [flag, dupof, nstart, ndata, nblock] = view(b);
      r.flag.push_back(flag);
      r.dupof.push_back(flag ? dupof : 0);
      if (!st && b < nblock) r.table.emplace_back(nstart, ndata);
    }
  }
  if (!st && stages != Stages::kDuplicates) st = chain(track, console);
  if (st) r.failure = st->message;
  console.close();
  track.close();
  return r;
}

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
  BlockTable& t = *table;
  return Capture(
      stages, n, [&](TextWriter& console) { return remove_duplicates(*store, t, console); },
      [&](TextWriter& track, TextWriter& console) {
        return build_chains(*store, t, "b", track, console);
      },
      [&](int b) {
        return std::make_tuple(t.flag[b], t.dupof[b], t.nstart[b], t.ndata[b], t.nblock);
      });
}

MergeRun RunLiteral(const std::vector<std::string>& points, const std::vector<int>& sizes,
                    Stages stages) {
  literal::Table t = literal::MakeTable(points, sizes);
  return Capture(
      stages, static_cast<int>(sizes.size()),
      [&](TextWriter& console) { return literal::RemoveDuplicates(t, console); },
      [&](TextWriter& track, TextWriter& console) {
        return literal::BuildChains(t, "b", track, console);
      },
      [&](int b) {
        auto i = static_cast<size_t>(b);
        return std::make_tuple(t.flag[i], t.dupof[i], t.nstart[i], t.ndata[i], t.nblock);
      });
}

std::string Describe(const MergeRun& r) {
  std::string s = "console:\n" + r.console + "track:\n" + r.track + "failure: " + r.failure +
                  "\nflag/dupof:";
  for (size_t b = 0; b < r.flag.size(); ++b)
    s += " " + std::to_string(r.flag[b]) + "/" + std::to_string(r.dupof[b]);
  return s;
}

}  // namespace linechain::testing
