#include "engine/core/DataObject.h"

#include "platform/Exception.h"

namespace Data {

void TDataObject::Assign(const TDataObject*) {
    throw ClassLib::Exception("Object doesn't support assignment.");
}

void TDataObject::LoadFromStream(TStream* stream) {
    Clear();
    ID = stream->ReadValue<uint32_t>();
}

void TDataObject::SaveToStream(TStream* stream) const {
    stream->WriteValue(ID);
}

void TDataObject::CopyFrom(const TDataObject* source) {
    if (source == this)
        return;
    Clear();
    Assign(source);
}

} // namespace Data
