#pragma once

// What the Component Manager needs of the object that opens it.
class ComponentManagerOwner {
public:
    // The owner's category filter, read when the user confirms a choice: a unit
    // operation may be chosen only when it is exactly catf_UnitOperation.
    virtual unsigned long categoryFilterForChoice() const = 0;

protected:
    ~ComponentManagerOwner() = default;
};
