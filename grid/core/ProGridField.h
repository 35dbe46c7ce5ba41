#pragma once
// A settings field of the grid's companions with a plain reader and writer.

#define TARVIX_PLAIN_FIELD(Type, Name, Default)                                                    \
public:                                                                                            \
    Type Name() const { return F##Name; }                                                          \
    void Set##Name(Type v) { F##Name = v; }                                                        \
                                                                                                   \
private:                                                                                           \
    Type F##Name = Default;
