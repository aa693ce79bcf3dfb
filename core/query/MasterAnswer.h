#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The answer to a master's challenge (the `validate` value): the challenge
// bytes scrambled with a stream keyed by the game's secret key, written in
// the 64-letter alphabet A-Z a-z 0-9 + / with four letters for every three
// bytes and no padding (a last group of one or two bytes takes two or three
// letters). An empty key gives an empty answer: there is no stream to key.
QByteArray masterChallengeAnswer(QByteArrayView challenge, QByteArrayView key);
