#pragma once
// Comma lists as the system writes them: items separated by commas or blanks,
// double quotes group an item (a doubled quote inside stands for one quote).
// Used for grid titles and for the readable descriptions in confirmations.

#include <QString>
#include <QStringList>

// Splits a comma list into its items. Quoted items may hold commas and blanks;
// an empty text gives no items.
QStringList ParseCommaText(const QString& Text);
// Joins the non-empty items with ", ", trims the result and drops a final ",".
QString DescribeCommaText(const QString& Text);
