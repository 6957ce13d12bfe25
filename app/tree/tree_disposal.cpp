#include "app/tree/tree_disposal.h"

#include <system_error>

#include "threats/slot_pool.h"

namespace vorek {

TreeDisposal::~TreeDisposal() { waitForAll(); }

void TreeDisposal::dispose(std::unique_ptr<StatNode> tree) {
    if (tree == nullptr) return;
    // A function object must be copyable: the tree travels as a plain pointer.
    StatNode* root = tree.release();
    dispose([root] { delete root; });
}

// Finished deletions are joined first, so that threads do not pile up. The
// slots a thread frees stay in its own cache until it ends, and a block with
// a slot in a cache is not given back: the deletion runs on a thread of its
// own, and the memory is given back once that has ended.
void TreeDisposal::dispose(std::function<void()> deletion) {
    std::erase_if(deletions_, [](Deletion& d) {
        if (!d.done->load(std::memory_order_acquire)) return false;
        d.thread.join();
        return true;
    });
    const auto deleteAndRelease = [deletion = std::move(deletion)] {
        try {
            std::thread(deletion).join();
        } catch (const std::system_error&) {
            deletion();  // no thread to spare
        }
        releaseUnusedPoolMemory();
    };
    auto done = std::make_unique<std::atomic<bool>>(false);
    try {
        std::thread thread([deleteAndRelease, flag = done.get()] {
            deleteAndRelease();
            flag->store(true, std::memory_order_release);
        });
        deletions_.push_back({std::move(thread), std::move(done)});
    } catch (const std::system_error&) {
        deleteAndRelease();  // no thread to spare
    }
}

void TreeDisposal::waitForAll() {
    for (Deletion& d : deletions_) d.thread.join();
    deletions_.clear();
}

}  // namespace vorek
