#pragma once

#include "platform/TransferControl.h"

#include <QObject>

class QNetworkAccessManager;
class QNetworkReply;

// Fire-and-forget GETs over the program's shared network access manager, so
// that they carry the cookies of the shared jar.
class QtTransferControl : public TransferControl {
public:
    explicit QtTransferControl(QNetworkAccessManager& network);
    ~QtTransferControl() override;

    void Execute(const QString& address, const QString& operation) override;
    bool StillExecuting() const override { return m_reply != nullptr; }
    void Cancel() override;

private:
    void finish(QNetworkReply* reply);

    QNetworkAccessManager& m_network;
    // Ends the connections to the reply when this control goes.
    QObject m_replyContext;
    QNetworkReply* m_reply = nullptr;
};
