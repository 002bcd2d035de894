// Feeds arbitrary bytes to the work-group templet reader. A templet it
// accepts is pasted at a node and in place of a work; every pasted work
// must then link two nodes of the network.
#include "network/control/glide_templet.h"
#include "network/control/vyr_network.h"

#include "platform/stream/stream_error.h"

#include "tests/support/generated_networks.h"

#include <cstdlib>

namespace {

void CheckLinks(const network::TVYRNetwork& net)
{
    for (int i = 0; i < net.Works().Count(); ++i) {
        const network::TWorkItem& w = *net.Works().Items(i);
        if (!net.Nodes().FindByNewID(w.PriorNode()) || !net.Nodes().FindByNewID(w.NextNode()))
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView bytes(data, static_cast<qsizetype>(size));
    for (const bool replace : {false, true}) {
        std::unique_ptr<network::TGlideTemplet> templet;
        try {
            templet = network::ReadGlideTemplet(bytes);
        } catch (const stream::StreamError&) {
            return 0;
        }
        generated::SilentServices services;
        network::TVYRNetwork net(services);
        net.AddNode(102, 0.0f);
        net.Works().BeginUpdate();
        network::TWorkItem& work = net.Works().Add();
        work.SetPriorNode(1);
        work.SetNextNode(2);
        work.SetContinueTime(1.0f);
        net.Works().EndUpdate();
        if (replace)
            net.PasteTemplet(*templet, nullptr, &work);
        else
            net.PasteTemplet(*templet, net.Nodes().FindByNewID(2), nullptr);
        CheckLinks(net);
    }
    return 0;
}
