#include "chart/channels/rUdudDataCustomList.h"

#include "chart/core/iErrors.h"

void TiPlotDataCustomList::RaiseIndexOutOfBounds() { throw EiError(QStringLiteral("Index out of Bounds")); }

void TiPlotDataCustomList::RaiseExceedMaximum() { throw EiError(QStringLiteral("Exceed Maximum List Size")); }

void TiPlotDataCustomList::SetRecordSize(int size) {
  recordSize_ = size;
  maxCount_ = std::numeric_limits<std::int32_t>::max() / size;
}

std::int64_t TiPlotDataCustomList::GrownCapacity(int capacity) {
  const int delta = capacity > 64 ? capacity / 4 : capacity > 8 ? 16 : 4;
  return std::int64_t(capacity) + delta;
}

void TiPlotDataCustomList::Grow() {
  if (capacity_ >= maxCount_) RaiseExceedMaximum();
  SetCapacity(int(std::min<std::int64_t>(GrownCapacity(capacity_), maxCount_)));
}

int TiPlotDataCustomList::ReserveSlotSlow(bool& wrapped) {
  wrapped = false;
  if (!ringActive_) {
    if (count_ == capacity_) Grow();
    return count_++;
  }
  if (count_ < ringSize_) {
    if (count_ == capacity_) SetCapacity(int(std::min<std::int64_t>(GrownCapacity(capacity_), ringSize_)));
    return count_++;
  }
  // A full ring overwrites its oldest point, which then becomes the newest.
  wrapped = true;
  ringStart_ = ringStart_ + 1 >= count_ ? 0 : ringStart_ + 1;
  return ringStart_ == 0 ? count_ - 1 : ringStart_ - 1;
}

void TiPlotDataCustomList::CheckDeleteCount(int n) const {
  if (n < 0 || n >= count_) throw EiError(QString::fromLatin1(deleteRangeMessage_));
}

void TiPlotDataCustomList::Clear() {
  count_ = 0;
  ringStart_ = 0;
  if (!ringActive_) SetCapacity(0);
}

void TiPlotDataCustomList::SetRingBufferSize(int n) {
  n = std::max(n, 0);
  if (n > maxCount_) RaiseExceedMaximum();
  if (n == 0) {
    // Back to a growing list: the points stay, in their logical order.
    if (ringActive_) {
      RestoreOrder();
      ringActive_ = false;
    }
    return;
  }
  RestoreOrder();
  if (count_ > n) DeleteFirst(count_ - n);  // the newest n points remain
  // Storage beyond the ring is given back; storage up to it comes as points arrive.
  if (capacity_ > n) SetCapacity(n);
  ringSize_ = n;
  ringActive_ = true;
}
