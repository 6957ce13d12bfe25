#include "search/stat_node.h"

namespace vorek {

std::uint32_t NodeSerial = 0;

StatNode::StatNode(std::unique_ptr<V2Board> b) : board(b.release()) {}
StatNode::StatNode(std::unique_ptr<V2Board> b, StatNode* parent, int m)
    : board(b.release()), parentCount(1), move(m) {
    parents.one = parent;
}
StatNode::~StatNode() { delete board; }
void StatNode::expand() {}
void StatNode::addParent(StatNode*) {}
void StatNode::unlinkParent(StatNode*) {}

}  // namespace vorek
