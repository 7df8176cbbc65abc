#include "app/networkguard.h"

#include "core/log.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QQmlEngine>
#include <QQmlNetworkAccessManagerFactory>
#include <QTimer>
#include <QtDebug>

#include <atomic>
#include <memory>

namespace app {

namespace {

// A request that never leaves the process: finished, with an error, as soon as
// the event loop runs.
class RefusedReply : public QNetworkReply
{
public:
    RefusedReply(QNetworkAccessManager::Operation operation, const QNetworkRequest &request, QObject *parent)
        : QNetworkReply(parent)
    {
        setRequest(request);
        setUrl(request.url());
        setOperation(operation);
        setError(QNetworkReply::ProtocolUnknownError, QStringLiteral("游戏不访问网络"));
        open(QIODevice::ReadOnly);
        setFinished(true);
        QTimer::singleShot(0, this, [this] {
            emit errorOccurred(QNetworkReply::ProtocolUnknownError);
            emit finished();
        });
    }

    void abort() override {}
    qint64 bytesAvailable() const override { return 0; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
};

// Made by the engine on whichever thread loads for it (the pictures' loader
// has its own): the flag that the refusal was said is shared by all of them.
class LocalOnlyAccess : public QNetworkAccessManager
{
public:
    LocalOnlyAccess(std::shared_ptr<std::atomic<bool>> said, QObject *parent)
        : QNetworkAccessManager(parent), said(std::move(said))
    {
    }

protected:
    QNetworkReply *createRequest(Operation operation, const QNetworkRequest &request, QIODevice *outgoing) override
    {
        const QString scheme = request.url().scheme().toLower();
        if (scheme == QLatin1String("file") || scheme == QLatin1String("qrc") || scheme == QLatin1String("image"))
            return QNetworkAccessManager::createRequest(operation, request, outgoing);
        if (!said->exchange(true))
            qCWarning(lcApp).noquote() << QStringLiteral("游戏不访问网络，不载入 %1（此后不再提示）")
                                              .arg(request.url().toString(QUrl::RemoveQuery | QUrl::RemoveUserInfo).left(200));
        return new RefusedReply(operation, request, this);
    }

private:
    std::shared_ptr<std::atomic<bool>> said;
};

class LocalOnlyFactory : public QQmlNetworkAccessManagerFactory
{
public:
    QNetworkAccessManager *create(QObject *parent) override { return new LocalOnlyAccess(said, parent); }

private:
    std::shared_ptr<std::atomic<bool>> said = std::make_shared<std::atomic<bool>>(false);
};

} // namespace

void refuseNetwork(QQmlEngine &engine)
{
    // The engine does not own its factory; it goes with the engine, as the
    // picture guard's interceptor does.
    auto *factory = new LocalOnlyFactory;
    engine.setNetworkAccessManagerFactory(factory);
    QObject::connect(&engine, &QObject::destroyed, [factory] { delete factory; });
}

} // namespace app
