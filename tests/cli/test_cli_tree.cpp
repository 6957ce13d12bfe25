// vorek-cli tree: the tree grown along PATHs, printed in preorder.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/cli/cli_run.h"
#include "tests/temp_dir.h"

namespace vorek::testing {
namespace {

class CliTree : public ::testing::Test {
protected:
    TempDir dir;

    void position(std::initializer_list<std::string_view> rows) {
        dir.write("plocha.dat", boardFile(rows));
        dir.write("tah.dat", "x");
    }
    CliRun tree(std::vector<std::string> paths) {
        paths.insert(paths.begin(), {"tree", "--dir", dir.path().string()});
        return runCli(paths);
    }
};

// On an empty board the generator's opening rules give exactly one move per
// level: the centre, 210, then the square diagonally below-left of it, 229.
TEST_F(CliTree, EmptyBoardGrownTwoLevels) {
    position({});
    const CliRun run = tree({"root", "0"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out,
              "root -1 OR 1 1 1 1\n"
              "0 210 AND 1 1 1 1\n"
              "0.0 229 OR 1 1 0 0\n");
    EXPECT_EQ(run.err, "");
    // A node already expanded is left alone, however often it is named.
    EXPECT_EQ(tree({"root", "root", "0", "0", "root"}).out, run.out);
}

TEST_F(CliTree, PathBeyondTheGrownTreeIsAMisuse) {
    position({});
    const CliRun run = tree({"root", "0", "0.1"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(run.err.starts_with(
        "vorek-cli: tree: PATH '0.1' leads nowhere: node 0 has 1 child\nusage: vorek-cli tree"))
        << run.err;
    // A path is looked up in the tree as the earlier paths left it.
    EXPECT_EQ(tree({"0", "root"}).exitCode, 2);
}

TEST_F(CliTree, FiveAtOnceForPlayerOneProvesTheRootAndNothingExpandsIt) {
    position({"xxxx"});
    EXPECT_EQ(tree({}).out, "root -1 OR 0 -1 0 0\n");
    EXPECT_EQ(tree({"root"}).out, "root -1 OR 0 -1 0 0\n");
}

TEST_F(CliTree, UnreadablePositionGivesAnEmptyBoardRootAndANote) {
    const CliRun run = tree({});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "root -1 OR 1 1 0 0\n");
    EXPECT_EQ(run.err, "vorek-cli: tree: the position in '" + dir.path().string() +
                           "' could not be read in full; squares not read are empty\n");
}

struct Line {
    std::string path;
    int move, pn, dn, expanded, children;
    std::string kind;
};

std::vector<Line> parseTree(const std::string& out) {
    std::vector<Line> lines;
    for (const std::string& text : linesOf(out)) {
        std::istringstream in(text);
        Line line;
        in >> line.path >> line.move >> line.kind >> line.pn >> line.dn >> line.expanded >>
            line.children;
        EXPECT_TRUE(in && in.peek() == EOF) << text;
        lines.push_back(line);
    }
    return lines;
}

int depthOf(const std::string& path) {
    return path == "root" ? 0 : 1 + static_cast<int>(std::count(path.begin(), path.end(), '.'));
}

std::string childPath(const std::string& parent, int index) {
    return parent == "root" ? std::to_string(index) : parent + "." + std::to_string(index);
}

// Checks the lines from position i on as the subtree of lines[i] in preorder,
// kinds alternating by depth; returns the position after the subtree.
std::size_t expectSubtree(const std::vector<Line>& lines, std::size_t i) {
    const Line& node = lines.at(i);
    EXPECT_EQ(node.kind, depthOf(node.path) % 2 == 0 ? "OR" : "AND") << node.path;
    EXPECT_EQ(node.expanded == 1, node.children > 0) << node.path;
    std::size_t next = i + 1;
    for (int c = 0; c < node.children; ++c) {
        EXPECT_EQ(lines.at(next).path, childPath(node.path, c));
        next = expectSubtree(lines, next);
    }
    return next;
}

TEST(CliTreeExamples, GrownTreesAreInPreorderWithAlternatingKinds) {
    for (const char* name : {"opening", "middlegame"}) {
        SCOPED_TRACE(name);
        const CliRun run =
            runCli({"tree", "--dir", example(name).string(), "root", "0", "0.0", "1"});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::vector<Line> lines = parseTree(run.out);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0].path, "root");
        EXPECT_EQ(lines[0].move, -1);
        EXPECT_EQ(expectSubtree(lines, 0), lines.size());
        EXPECT_EQ(lines[0].expanded, 1);
        EXPECT_EQ(lines.at(1).path, "0");
        EXPECT_EQ(lines[1].expanded, 1);  // two levels grown
        for (std::size_t i = 1; i < lines.size(); ++i)
            EXPECT_TRUE(lines[i].move >= 0 && lines[i].move < 400) << lines[i].path;
    }
}

TEST(CliTreeExamples, ForcedWinIsProvedByExpandingTheRoot) {
    const CliRun run = runCli({"tree", "--dir", example("forced-win").string(), "root"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "root -1 OR 0 -1 0 0\n");
}

}  // namespace
}  // namespace vorek::testing
