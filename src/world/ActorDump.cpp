// Actor records as JSON lines, written from the class field tables.
#include "world/ActorDump.h"

#include "core/JsonLine.h"
#include "world/ActorFields.h"

namespace orv {

std::string DumpActorJson(const Actor& actor, int index) {
    JsonLine j;
    j.Add("Index", index).Add("EngineClass", EngineClassName(actor.GetEngineClass()));
    ForEachField(actor, [&](const Field& row) { j.AddRaw(row.Name, row.Json(actor)); });
    j.Add("Tag", actor.GetProperty("Tag")).Add("Event", actor.GetProperty("Event"));
    return j.Finish();
}

} // namespace orv
