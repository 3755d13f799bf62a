#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

// The level's shapes of one kind, in the order they were added. Shapes are read freely but
// never changed in place: every change other than an append at the back counts up `revision`,
// so an index over the list can tell appended shapes (by the size) from a list that was
// replaced, cleared or cut.
template <typename Shape> class ShapeList {
public:
    using value_type = Shape;
    using const_iterator = typename std::vector<Shape>::const_iterator;

    ShapeList() = default;
    ShapeList(std::initializer_list<Shape> shapes) : items(shapes) {}
    ShapeList(const ShapeList& other) : items(other.items) {}
    ShapeList& operator=(const ShapeList& other)
    {
        items = other.items;
        ++changes;
        return *this;
    }
    ShapeList& operator=(std::initializer_list<Shape> shapes)
    {
        items = shapes;
        ++changes;
        return *this;
    }
    ~ShapeList() = default;

    size_t size() const { return items.size(); }
    bool empty() const { return items.empty(); }
    const Shape& operator[](size_t index) const { return items[index]; }
    const Shape& front() const { return items.front(); }
    const Shape& back() const { return items.back(); }
    const_iterator begin() const { return items.begin(); }
    const_iterator end() const { return items.end(); }
    const std::vector<Shape>& all() const { return items; }

    // Changes of the list other than appends counted so far.
    uint64_t revision() const { return changes; }

    void push_back(const Shape& shape) { items.push_back(shape); }
    template <typename... Args> Shape& emplace_back(Args&&... args)
    {
        return items.emplace_back(std::forward<Args>(args)...);
    }
    template <typename Iterator> void append(Iterator first, Iterator last)
    {
        items.insert(items.end(), first, last);
    }
    template <typename Iterator> void assign(Iterator first, Iterator last)
    {
        items.assign(first, last);
        ++changes;
    }
    void clear()
    {
        items.clear();
        ++changes;
    }
    void reserve(size_t count) { items.reserve(count); }

private:
    std::vector<Shape> items;
    uint64_t changes = 0;
};
