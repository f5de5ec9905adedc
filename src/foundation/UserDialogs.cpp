#include "foundation/UserDialogs.h"

#include <cstdio>

namespace {

class THeadlessDialogs final : public IUserDialogs
{
public:
    int Ask(const QString& message, TMessageKind kind, const QStringList& captions) override
    {
        if (captions.size() > MaxCaptions)
            return 0;
        Show(message, kind);
        return Closed;
    }

    void Show(const QString& message, TMessageKind) override
    {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
};

THeadlessDialogs gHeadless;
IUserDialogs* gInstalled = nullptr;

} // namespace

IUserDialogs& UserDialogs()
{
    return gInstalled ? *gInstalled : gHeadless;
}

IUserDialogs* SetUserDialogs(IUserDialogs* dialogs)
{
    IUserDialogs* previous = gInstalled;
    gInstalled = dialogs;
    return previous;
}
