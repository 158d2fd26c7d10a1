#include "FakeMessagePresenter.h"

#include "uUserMessagesModule.h"

FakeMessagePresenter::FakeMessagePresenter() : m_previous(SetMessagePresenter(this)) {}

FakeMessagePresenter::~FakeMessagePresenter() {
    SetMessagePresenter(m_previous);
}

int FakeMessagePresenter::Present(const TMessageRequest& Request) {
    Shown.append(Request);
    if (!m_queue.isEmpty())
        return m_queue.takeFirst()(Request);
    if (Answer)
        return Answer(Request);
    return Request.Buttons.isEmpty() ? ModalResult::mrOk : ModalResultOf(Request.Buttons.first().ButtonType);
}

void FakeMessagePresenter::QueueResult(int Result) {
    m_queue.append([Result](const TMessageRequest&) { return Result; });
}

void FakeMessagePresenter::QueueButton(const QString& Caption) {
    m_queue.append([Caption](const TMessageRequest& Request) {
        for (const TMsgButton& b : Request.Buttons)
            if (b.ButtonCaption == Caption)
                return ModalResultOf(b.ButtonType);
        return CloseResultOf(Request.Buttons);
    });
}

QStringList FakeMessagePresenter::LastCaptions() const {
    QStringList captions;
    for (const TMsgButton& b : Last().Buttons)
        captions << b.ButtonCaption;
    return captions;
}

QList<uint32_t> FakeMessagePresenter::ShownCodes() const {
    QList<uint32_t> codes;
    for (const TMessageRequest& r : Shown) {
        uint32_t code = 0;
        for (const TUserMessageRecord& m : UserMessagesModule()->UserMessages())
            if (m.errMsg == r.Text) {
                code = m.errCode;
                break;
            }
        codes.append(code);
    }
    return codes;
}
