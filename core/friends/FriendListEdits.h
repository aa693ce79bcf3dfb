#pragma once

#include "settings/FriendSettings.h"

#include <QStringView>

// Edits of the friends list by name, as the browser's player menu and the
// friends editor make them; names compare as FriendMatch does.

// The slot of the first friend that name matches, -1 when none does.
int findFriend(const FriendTable& friends, QStringView name);

// Lists name (without its surrounding blanks) unless it is blank or listed
// already. Returns its slot (the listed one's), or -1 when it is blank or
// the list is full.
int addFriend(FriendTable& friends, const QString& name, quint32 seed);

// Removes every friend that name matches; returns how many were removed.
int removeFriend(FriendTable& friends, QStringView name);
