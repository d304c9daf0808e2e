// The base of every object that saves itself to a stream.
#pragma once

#include "engine/core/StreamData.h"

#include <cstdint>

namespace Data {

class TArchive;

class TDataObject {
public:
    TDataObject() = default;
    TDataObject(const TDataObject&) = delete;
    TDataObject& operator=(const TDataObject&) = delete;

    // Raises "Object doesn't support assignment." unless a descendant can copy.
    virtual void Assign(const TDataObject* source);
    virtual ~TDataObject() = default;
    // Clears the object, then reads its identifier; descendants read their fields after it.
    virtual void LoadFromStream(TStream* stream);
    virtual void SaveToStream(TStream* stream) const;
    virtual void Clear() {}

    // Clear and Assign, unless source is this object.
    void CopyFrom(const TDataObject* source);
    // Loads the object from the named file of an archive.
    void LoadFromArchive(const TArchive& archive, const AnsiString& fileName);

    uint32_t ID = 0;
};

} // namespace Data
