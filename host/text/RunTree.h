// RunTree: a sequence of runs, each a length and a value, found by position in O(log n).
//
// The text of a story and each of its strands (paragraphs, character formats, owned items,
// threads) are run trees over the same positions. A run tree is an implicit treap: every node
// holds one run and the total length of its subtree, so positions are never stored and an
// insertion shifts everything after it for free. Nodes live in one pool and are reused.
//
// `Traits` tells how a run's value is cut in two when a run is split at an offset:
//     static T Cut(T& value, int32 offset, int32 length);  // `value` keeps [0, offset), the
//                                                          // result holds [offset, length)
// The default copies the value (an attribute run cut in two keeps its attributes on both sides).
//
// Every node also knows its parent, so that a run found once can be found again by its node
// (NodeAt, StartOf) in O(log n) however the positions before it moved since. A node is freed
// (its value reset) when its run is erased, and may later hold another run.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "PMTypes.h"

template <class T>
struct RunCopyTraits {
    static T Cut(T& value, int32 /*offset*/, int32 /*length*/) { return value; }
};

template <class T, class Traits = RunCopyTraits<T>>
class RunTree {
public:
    // One run as the walks and look-ups hand it out.
    struct Run {
        int32 start = 0;
        int32 length = 0;
        T* value = nullptr;
    };

    RunTree() : mNodes(1) {}

    int32 Length() const { return mRoot ? mNodes[mRoot].sum : 0; }
    int32 RunCount() const { return mCount; }
    // The nodes on the longest path from the root: about 2 log2 of the runs, whatever the edits.
    int32 Depth() const
    {
        int32 deepest = 0;
        std::vector<std::pair<int32, int32>> stack;
        if (mRoot) stack.push_back({mRoot, 1});
        while (!stack.empty()) {
            auto [n, depth] = stack.back();
            stack.pop_back();
            deepest = std::max(deepest, depth);
            if (mNodes[n].left) stack.push_back({mNodes[n].left, depth + 1});
            if (mNodes[n].right) stack.push_back({mNodes[n].right, depth + 1});
        }
        return deepest;
    }
    bool IsEmpty() const { return mRoot == 0; }

    void Clear()
    {
        mNodes.assign(1, Node());
        mFree.clear();
        mRoot = 0;
        mCount = 0;
    }

    // The run that holds position `pos` (0 <= pos < Length()); a run with no value when none.
    Run Find(int32 pos)
    {
        int32 n = mRoot;
        int32 base = 0;
        while (n) {
            Node& node = mNodes[n];
            int32 left = Sum(node.left);
            if (pos < base + left) {
                n = node.left;
            } else if (pos < base + left + node.length) {
                return Run{base + left, node.length, &node.value};
            } else {
                base += left + node.length;
                n = node.right;
            }
        }
        return Run{};
    }

    // The node of the run that holds `pos`; 0 when none.
    int32 NodeAt(int32 pos) const
    {
        int32 n = mRoot;
        int32 base = 0;
        while (n) {
            const Node& node = mNodes[n];
            int32 left = Sum(node.left);
            if (pos < base + left) {
                n = node.left;
            } else if (pos < base + left + node.length) {
                return n;
            } else {
                base += left + node.length;
                n = node.right;
            }
        }
        return 0;
    }
    // The value node `n` holds (that of no run, reset, when the node is free); null for no node.
    const T* ValueOf(int32 n) const { return n > 0 && static_cast<size_t>(n) < mNodes.size() ? &mNodes[n].value : nullptr; }
    // Where the run of node `n`, a node in the tree, starts.
    int32 StartOf(int32 n) const
    {
        int32 start = Sum(mNodes[n].left);
        for (int32 parent = mNodes[n].parent; parent; n = parent, parent = mNodes[n].parent)
            if (mNodes[parent].right == n) start += Sum(mNodes[parent].left) + mNodes[parent].length;
        return start;
    }

    // Makes `pos` a run boundary, cutting the run that straddles it.
    void SplitAt(int32 pos)
    {
        if (pos <= 0 || pos >= Length() || Find(pos).start == pos) return;
        auto [a, b] = CutAt(pos);
        SetRoot(Merge(a, b));
    }

    // Inserts a run of `length` (above 0) before position `pos` (0..Length()), cutting the run
    // that straddles `pos`.
    void Insert(int32 pos, int32 length, T value)
    {
        if (length <= 0) return;
        auto [a, b] = CutAt(pos);
        SetRoot(Merge(Merge(a, NewNode(length, std::move(value))), b));
    }

    // Changes the length of the run that holds `pos` by `delta` (the run must stay above 0).
    void Grow(int32 pos, int32 delta)
    {
        int32 n = mRoot;
        int32 base = 0;
        while (n) {
            Node& node = mNodes[n];
            node.sum += delta;
            int32 left = Sum(node.left);
            if (pos < base + left) {
                n = node.left;
            } else if (pos < base + left + node.length) {
                node.length += delta;
                return;
            } else {
                base += left + node.length;
                n = node.right;
            }
        }
    }

    // Removes [from, to), cutting the runs at both ends.
    void Erase(int32 from, int32 to)
    {
        if (from >= to) return;
        SplitAt(to);
        auto [a, rest] = CutAt(from);
        auto [middle, b] = Split(rest, to - from);
        FreeTree(middle);
        SetRoot(Merge(a, b));
    }

    // Joins the run that ends at `pos` with the run that starts there; the joined run keeps
    // the value of the first. Nothing happens when `pos` is no boundary between two runs.
    void JoinAt(int32 pos)
    {
        if (pos <= 0 || pos >= Length()) return;
        Run before = Find(pos - 1);
        Run after = Find(pos);
        if (before.start == after.start || before.start + before.length != pos) return;
        int32 length = after.length;
        Erase(pos, pos + length);
        Grow(pos - 1, length);
    }

    // Calls f(Run) for every run that overlaps [from, to), in order. The runs may be changed in
    // value (not in length) through the Run's pointer.
    template <class F>
    void ForEachIn(int32 from, int32 to, F&& f)
    {
        if (from < to) Walk(mRoot, 0, from, to, f);
    }
    template <class F>
    void ForEach(F&& f)
    {
        ForEachIn(0, Length(), f);
    }
    template <class F>
    void ForEach(F&& f) const
    {
        const_cast<RunTree*>(this)->ForEachIn(0, Length(), [&](const Run& run) { f(run.start, run.length, static_cast<const T&>(*run.value)); });
    }

    // Joins the neighbouring runs with equal values that overlap [from, to] (one run more on
    // each side), so that formatting the same text twice leaves no extra runs.
    void Coalesce(int32 from, int32 to)
    {
        if (IsEmpty()) return;
        if (from > 0) --from;
        if (to < Length()) ++to;
        std::vector<int32> boundaries;
        T* previous = nullptr;
        ForEachIn(from, to, [&](const Run& run) {
            if (previous && *previous == *run.value) boundaries.push_back(run.start);
            previous = run.value;
        });
        for (auto it = boundaries.rbegin(); it != boundaries.rend(); ++it) JoinAt(*it);
    }

private:
    struct Node {
        T value{};
        int32 length = 0;
        int32 sum = 0;
        uint32 priority = 0;
        int32 left = 0;
        int32 right = 0;
        int32 parent = 0;   // 0 for the root
    };

    void SetRoot(int32 n)
    {
        mRoot = n;
        if (n) mNodes[n].parent = 0;
    }

    int32 Sum(int32 n) const { return n ? mNodes[n].sum : 0; }
    void Update(int32 n)
    {
        Node& node = mNodes[n];
        node.sum = node.length + Sum(node.left) + Sum(node.right);
        if (node.left) mNodes[node.left].parent = n;
        if (node.right) mNodes[node.right].parent = n;
    }

    int32 NewNode(int32 length, T value)
    {
        int32 n;
        if (!mFree.empty()) {
            n = mFree.back();
            mFree.pop_back();
        } else {
            n = static_cast<int32>(mNodes.size());
            mNodes.emplace_back();
        }
        Node& node = mNodes[n];
        node.value = std::move(value);
        node.length = node.sum = length;
        node.left = node.right = node.parent = 0;
        // xorshift: a fixed sequence, so that the same edits build the same tree on every run.
        mSeed ^= mSeed << 13;
        mSeed ^= mSeed >> 17;
        mSeed ^= mSeed << 5;
        node.priority = mSeed;
        ++mCount;
        return n;
    }

    void FreeTree(int32 n)
    {
        if (!n) return;
        std::vector<int32> stack{n};
        while (!stack.empty()) {
            int32 m = stack.back();
            stack.pop_back();
            if (mNodes[m].left) stack.push_back(mNodes[m].left);
            if (mNodes[m].right) stack.push_back(mNodes[m].right);
            mNodes[m].value = T{};
            mFree.push_back(m);
            --mCount;
        }
    }

    // Cuts the tree into the first `pos` positions and the rest (0 <= pos <= Length()). A run
    // that straddles `pos` keeps its head, and its tail becomes a new node merged in front of the
    // rest, placed by its own priority like any other.
    std::pair<int32, int32> CutAt(int32 pos)
    {
        Run run = pos > 0 && pos < Length() ? Find(pos) : Run{};
        if (!run.value || run.start == pos) return Split(mRoot, pos);
        const int32 offset = pos - run.start;
        T tail = Traits::Cut(*run.value, offset, run.length);
        Grow(run.start, offset - run.length);
        auto [a, b] = Split(mRoot, pos);
        return {a, Merge(NewNode(run.length - offset, std::move(tail)), b)};
    }

    // Cuts tree `n` into the first `pos` positions and the rest; `pos` is a run boundary
    // (CutAt makes it one). Split moves nodes only, so every node stays below one of higher
    // priority and the tree keeps its logarithmic depth: a node made here would sit wherever the
    // cut fell, whatever its priority, and appending at one place would grow a chain.
    std::pair<int32, int32> Split(int32 n, int32 pos)
    {
        if (!n) return {0, 0};
        int32 left = Sum(mNodes[n].left);
        if (pos <= left) {
            auto [a, b] = Split(mNodes[n].left, pos);
            mNodes[n].left = b;
            Update(n);
            return {a, n};
        }
        auto [a, b] = Split(mNodes[n].right, pos - left - mNodes[n].length);
        mNodes[n].right = a;
        Update(n);
        return {n, b};
    }

    int32 Merge(int32 a, int32 b)
    {
        if (!a) return b;
        if (!b) return a;
        if (mNodes[a].priority > mNodes[b].priority) {
            int32 right = Merge(mNodes[a].right, b);
            mNodes[a].right = right;
            Update(a);
            return a;
        }
        int32 left = Merge(a, mNodes[b].left);
        mNodes[b].left = left;
        Update(b);
        return b;
    }

    template <class F>
    void Walk(int32 n, int32 base, int32 from, int32 to, F& f)
    {
        // In order, pruning subtrees outside [from, to); iterative over the right spine keeps
        // the recursion to the tree's depth.
        while (n) {
            int32 left = Sum(mNodes[n].left);
            int32 start = base + left;
            int32 end = start + mNodes[n].length;
            if (from < start) Walk(mNodes[n].left, base, from, to, f);
            if (start < to && end > from) f(Run{start, mNodes[n].length, &mNodes[n].value});
            if (end >= to) return;
            base = end;
            n = mNodes[n].right;
        }
    }

    std::vector<Node> mNodes;  // slot 0 is the empty tree
    std::vector<int32> mFree;
    int32 mRoot = 0;
    int32 mCount = 0;
    uint32 mSeed = 2463534242u;
};
