// Speed of expanding a node deep in a large tree from the window: the
// double-click handler alone, and the Right arrow, which also redraws the
// board and refills the threat lists. Both must stay well within one frame
// (16 ms) so the window keeps responding.
#include <QTreeWidgetItem>
#include <deque>
#include <vector>

#include "app/tree/node_tree.h"
#include "app/tree/tree_commands.h"
#include "app/window_features.h"
#include "bench/app/window_on_example.h"

namespace vorek::bench {
namespace {

constexpr int DEEP_LEVEL = 30;
constexpr int TREE_ITEMS = 10000;
constexpr int DEEP_NODES = 24;  // one per timed expansion

bool expandable(const QTreeWidgetItem* item) {
    const StatNode* node = TreeCommands::nodeOf(item);
    return !node->isExpanded() && !node->isDecided();
}

// Expands the item as the user does; returns the number of items it added.
int expand(TForm1& form, QTreeWidgetItem* item) {
    form.features().tree().view().setCurrentItem(item);
    const int before = item->childCount();
    form.features().tree().ExpandSelectedNode();
    return item->childCount() - before;
}

// Walks down from item, expanding as it goes, and collects unexpanded,
// undecided items on the deep level until enough are found.
void collectDeepItems(TForm1& form, QTreeWidgetItem* item, int level,
                      std::vector<QTreeWidgetItem*>& found, int& items) {
    if (level == DEEP_LEVEL) {
        if (expandable(item)) found.push_back(item);
        return;
    }
    if (expandable(item)) items += expand(form, item);
    for (int i = 0; i < item->childCount() && static_cast<int>(found.size()) < DEEP_NODES; ++i)
        collectDeepItems(form, item->child(i), level + 1, found, items);
}

// Expands shallow items breadth first until the tree holds enough items.
void fillTree(TForm1& form, int& items) {
    std::deque<QTreeWidgetItem*> queue{form.features().tree().rootItem()};
    while (items < TREE_ITEMS && !queue.empty()) {
        QTreeWidgetItem* item = queue.front();
        queue.pop_front();
        if (expandable(item)) items += expand(form, item);
        for (int i = 0; i < item->childCount(); ++i) queue.push_back(item->child(i));
    }
}

struct DeepTree {
    WindowOnExample window{"opening"};
    std::vector<QTreeWidgetItem*> deepItems;
    int items = 1;

    DeepTree() {
        collectDeepItems(*window.form, window.form->features().tree().rootItem(), 0, deepItems, items);
        fillTree(*window.form, items);
        QCoreApplication::processEvents();
    }
};

template <typename Expand>
void expandDeepItems(benchmark::State& state, Expand&& action) {
    DeepTree tree;
    if (static_cast<int>(tree.deepItems.size()) < DEEP_NODES || tree.items < TREE_ITEMS) {
        state.SkipWithError("could not grow the tree deep and wide enough");
        return;
    }
    std::size_t next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        tree.window.form->features().tree().view().setCurrentItem(tree.deepItems[next++]);
        state.ResumeTiming();
        action(*tree.window.form);
    }
    int added = 0;
    for (std::size_t i = 0; i < next; ++i) added += tree.deepItems[i]->childCount();
    state.counters["children_per_expansion"] = static_cast<double>(added) / static_cast<double>(next);
    state.counters["tree_items"] = tree.items;
    state.counters["level"] = DEEP_LEVEL;
}

void BM_DoubleClickExpandsDeepNode(benchmark::State& state) {
    expandDeepItems(state, [](TForm1& form) { form.features().tree().TreeDblClick(); });
}
BENCHMARK(BM_DoubleClickExpandsDeepNode)->Iterations(DEEP_NODES)->Unit(benchmark::kMillisecond);

void BM_RightArrowExpandsAndShowsDeepNode(benchmark::State& state) {
    expandDeepItems(state, [](TForm1& form) { form.features().tree().TreeKeyUp(KEY_RIGHT); });
}
BENCHMARK(BM_RightArrowExpandsAndShowsDeepNode)
    ->Iterations(DEEP_NODES)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorek::bench
