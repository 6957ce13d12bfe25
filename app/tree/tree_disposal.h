// Deletes search trees off the window's thread. A tree can hold tens of
// millions of nodes and take seconds to free; the window hands it over and
// goes on at once, and the memory goes back to the system when the
// deletion is done.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "search/stat_node.h"

namespace vorek {

class TreeDisposal {
public:
    TreeDisposal() = default;
    // Waits for every deletion handed over.
    ~TreeDisposal();
    TreeDisposal(const TreeDisposal&) = delete;
    TreeDisposal& operator=(const TreeDisposal&) = delete;

    // Deletes the tree on a thread of its own, then gives unused pool memory
    // back to the system. Nothing else may use the tree's nodes any more.
    // With no thread to spare the tree is deleted here.
    void dispose(std::unique_ptr<StatNode> tree);
    // The same for whatever the function frees (a solver with its own tree).
    void dispose(std::function<void()> deletion);

    // Waits until every deletion handed over so far is done.
    void waitForAll();

private:
    struct Deletion {
        std::thread thread;
        std::unique_ptr<std::atomic<bool>> done;  // set by the deleting thread at its end
    };

    std::vector<Deletion> deletions_;
};

}  // namespace vorek
