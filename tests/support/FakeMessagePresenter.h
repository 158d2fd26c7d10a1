#pragma once
// A message presenter for tests: installs itself for its lifetime, records every
// message shown and answers it without a dialog.

#include "uMessagePresenter.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <functional>

class FakeMessagePresenter : public IMessagePresenter {
public:
    // Installs this presenter; the destructor puts the previous one back.
    FakeMessagePresenter();
    ~FakeMessagePresenter() override;
    FakeMessagePresenter(const FakeMessagePresenter&) = delete;
    FakeMessagePresenter& operator=(const FakeMessagePresenter&) = delete;

    // Records the request and answers with, in this order: the next queued
    // answer, the Answer function, or the first button's result (1 without buttons).
    int Present(const TMessageRequest& Request) override;

    // Answers the next message with this dialog result.
    void QueueResult(int Result);
    // Answers the next message by pressing the button with this caption
    // (an unknown caption answers as closing the dialog).
    void QueueButton(const QString& Caption);

    std::function<int(const TMessageRequest&)> Answer;
    QList<TMessageRequest> Shown;

    qsizetype Count() const { return Shown.size(); }
    // The last message shown; call only when Count() > 0.
    const TMessageRequest& Last() const { return Shown.last(); }
    // Captions of the last message's buttons, left to right.
    QStringList LastCaptions() const;
    // The catalogue code of every message shown, recognised by its exact text; 0 for any other.
    QList<uint32_t> ShownCodes() const;

private:
    IMessagePresenter* m_previous;
    QList<std::function<int(const TMessageRequest&)>> m_queue;
};
