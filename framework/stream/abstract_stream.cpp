#include "framework/stream/abstract_stream.h"

#include <algorithm>

int unaAbstractStream::seek(int position, bool fromBeginning) {
    if (!lock()) {
        return position_;
    }
    const int size = getSize();
    const int clamped = std::clamp(position, 0, size);
    position_ = fromBeginning ? clamped : size - clamped;
    const int result = position_;
    unlock();
    return result;
}

int unaAbstractStream::seekBy(int delta) {
    if (!lock()) {
        return position_;
    }
    const long long target = static_cast<long long>(position_) + delta;
    position_ = int(std::clamp<long long>(target, 0, getSize()));
    const int result = position_;
    unlock();
    return result;
}

int unaAbstractStream::write(const void* data, int size) {
    (void)data;
    if (size != 0) {
        dataEvent_.setState(true);
    }
    return size;
}
