#pragma once
// Column titles of a list, by the collection interface that the listed
// collection supports, as comma text.

#include <QString>

struct IInterface;

// The titles of the first interface of the table that Collection supports;
// a null text when it supports none of them.
QString CollectionTitleBar(IInterface* Collection);
