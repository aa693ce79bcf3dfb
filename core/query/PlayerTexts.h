#pragma once

#include <QByteArray>
#include <QLatin1StringView>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <vector>

// One server's player names, or their scores: a text per slot, Latin-1 as
// the status reply sends them, all in one block of bytes instead of a heap
// text each. A text is written over its slot's old one when it fits there,
// else at the block's end; the block is packed again once more of it is
// dead than alive, so a slot written many times costs no more room.
class PlayerTexts {
public:
    qsizetype size() const { return qsizetype(slots_.size()); }
    // The slot's text; empty for a slot never written.
    QLatin1StringView view(qsizetype index) const;
    QString at(qsizetype index) const {
        return wide_ && wide_->index == index ? wide_->text : QString(view(index));
    }
    // Room for this many slots, and for this many more bytes of text.
    void reserve(qsizetype slots, qsizetype bytes) {
        slots_.reserve(size_t(slots));
        bytes_.reserve(bytes_.size() + bytes);
    }
    qsizetype capacity() const { return qsizetype(slots_.capacity()); }
    // Writes the slot, adding empty ones up to it.
    void set(qsizetype index, QLatin1StringView text);
    // The same for any text: one slot at a time may hold text beyond Latin-1
    // (a translated caption), which at() reads whole and view() as Latin-1.
    void set(qsizetype index, const QString& text);
    // Gives back the room the block grew beyond its texts.
    void squeeze() { bytes_.squeeze(); }

private:
    // A text is at most a datagram long, and the block at most twice what
    // its slots hold.
    struct Slot {
        quint32 offset = 0;
        quint32 size = 0;
    };
    void pack();

    std::vector<Slot> slots_;
    QByteArray bytes_;
    qsizetype dead_ = 0; // bytes of the block that no slot reads
    // The one slot whose text is beyond Latin-1, kept apart: most lists
    // never have one, and a sweep holds a list per server.
    struct WideText {
        qsizetype index;
        QString text;
    };
    std::shared_ptr<const WideText> wide_; // shared by copies, replaced on change
};
