#pragma once
// A stored property of the engine's classes: the field F<Name>, the getter <Name>() and the setter
// Set<Name>(value). The engine's properties only store; nothing is announced.

#define LANTERNA_PROPERTY(Type, Name, Default)                                                               \
public:                                                                                                      \
    Type Name() const {                                                                                      \
        return F##Name;                                                                                      \
    }                                                                                                        \
    void Set##Name(const Type& value) {                                                                      \
        F##Name = value;                                                                                     \
    }                                                                                                        \
                                                                                                             \
private:                                                                                                     \
    Type F##Name = Default;
