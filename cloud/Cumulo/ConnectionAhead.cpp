#include "Cumulo/ConnectionAhead.h"

#include "Cumulo/HttpClient.h"
#include "Cumulo/HttpTransport.h"
#include "Cumulo/UrlParts.h"
#include "Cumulo/WorkerThreads.h"

namespace Cumulo {

void OpenConnectionAhead(const std::string &URL) {
    auto &transport = THttpTransport::Shared();
    const std::string origin = SplitURL(URL).Origin();
    if (!transport.BeginOpening(origin))
        return;
    try {
        StartWorkerThread([URL, origin] {
            try {
                THttpClient client(THttpUse::OpeningConnection);
                client.Get(URL);
            } catch (...) {
                // Nothing to report: the request that comes next connects by itself and says why
                // it cannot.
            }
            THttpTransport::Shared().EndOpening(origin);
        });
    } catch (...) {
        transport.EndOpening(origin);
    }
}

} // namespace Cumulo
