#include "query/PlayerTexts.h"

#include <QVarLengthArray>
#include <algorithm>

namespace {

// Small blocks are never packed: they waste little.
constexpr qsizetype packedBelow = 256;

} // namespace

QLatin1StringView PlayerTexts::view(qsizetype index) const {
    if (index < 0 || index >= size())
        return {};
    const Slot& slot = slots_[size_t(index)];
    return {bytes_.constData() + slot.offset, qsizetype(slot.size)};
}

void PlayerTexts::set(qsizetype index, const QString& text) {
    // Latin-1 as QString::toLatin1 writes it ('?' for the rest), on the stack.
    QVarLengthArray<char, 64> latin1(text.size());
    bool wide = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        wide = wide || unit > 0xff;
        latin1[i] = unit > 0xff ? '?' : char(unit);
    }
    set(index, QLatin1StringView(latin1.data(), latin1.size()));
    if (wide)
        wide_ = std::make_shared<const WideText>(WideText{index, text});
}

void PlayerTexts::set(qsizetype index, QLatin1StringView text) {
    if (wide_ && wide_->index == index)
        wide_.reset();
    if (index == size())
        slots_.push_back(Slot{quint32(bytes_.size()), 0});
    else if (index > size())
        slots_.resize(size_t(index) + 1, Slot{quint32(bytes_.size()), 0});
    Slot& slot = slots_[size_t(index)];
    const auto size = quint32(text.size());
    if (size <= slot.size) {
        std::copy(text.begin(), text.end(), bytes_.data() + slot.offset);
        dead_ += slot.size - size;
    } else {
        dead_ += slot.size;
        slot.offset = quint32(bytes_.size());
        const qsizetype end = bytes_.size() + text.size();
        if (end > bytes_.capacity())
            bytes_.reserve(std::max(end, 2 * bytes_.capacity()));
        bytes_.resize(end);
        std::copy(text.begin(), text.end(), bytes_.data() + slot.offset);
    }
    slot.size = size;
    if (dead_ > bytes_.size() - dead_ && bytes_.size() >= packedBelow)
        pack();
}

void PlayerTexts::pack() {
    QByteArray packed;
    packed.reserve(bytes_.size() - dead_);
    for (Slot& slot : slots_) {
        const auto offset = quint32(packed.size());
        packed.append(bytes_.constData() + slot.offset, slot.size);
        slot.offset = offset;
    }
    bytes_ = std::move(packed);
    dead_ = 0;
}
