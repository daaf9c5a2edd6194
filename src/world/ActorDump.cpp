// Actor records as JSON lines.
#include "world/ActorDump.h"

#include "core/JsonLine.h"
#include "world/ActorClasses.h"

namespace orv {

namespace {

void AddActorRef(JsonLine& j, const char* key, const Actor* a) {
    if (a) {
        j.Add(key, a->Name);
    } else {
        j.AddNull(key);
    }
}

void AddTexture(JsonLine& j, const char* key, const Texture* t) {
    if (t) {
        j.Add(key, t->Name);
    } else {
        j.AddNull(key);
    }
}

void AddMesh(JsonLine& j, const char* key, const Mesh* m) {
    if (m) {
        j.Add(key, m->Package.empty() ? m->Name : m->Package + "." + m->Name);
    } else {
        j.AddNull(key);
    }
}

std::string StringList(const Array<std::string>& list) {
    std::string out = "[";
    for (int i = 0; i < list.Num(); ++i) {
        out += (i ? "," : "") + JsonLine::Quote(list[i]);
    }
    return out + "]";
}

void AddCommon(JsonLine& j, const Actor& a) {
    j.Add("Class", a.Class).Add("Name", a.Name);
    j.AddByte("bDeleteMe", a.bDeleteMe).AddByte("bLevelBound", a.bLevelBound);
    j.Add("Location", a.Location).Add("Rotation", a.Rotation).Add("RotationRate", a.RotationRate);
    j.Add("Velocity", a.Velocity).Add("Physics", a.Physics).Add("InitialState", a.InitialState);
    AddActorRef(j, "Owner", a.Owner);
    AddActorRef(j, "Instigator", a.Instigator);
    j.AddByte("bStatic", a.bStatic).Add("CollisionRadius", a.CollisionRadius).Add("CollisionHeight", a.CollisionHeight);
    j.AddByte("bCollideActors", a.bCollideActors).AddByte("bCollideWorld", a.bCollideWorld);
    j.AddByte("bBlockPlayers", a.bBlockPlayers).AddByte("bProjTarget", a.bProjTarget);
    j.AddByte("bTouchingPlayer", a.bTouchingPlayer).AddByte("bHidden", a.bHidden).Add("Style", a.Style);
    j.Add("DrawScale", a.DrawScale).Add("SpriteProjForward", a.SpriteProjForward).AddByte("bUnlit", a.bUnlit);
    AddTexture(j, "Skin", a.Skin);
    std::string skins = "[";
    for (int i = 0; i < kMultiSkins; ++i) {
        skins += (i ? "," : "") + (a.MultiSkins[i] ? JsonLine::Quote(a.MultiSkins[i]->Name) : std::string("null"));
    }
    j.AddRaw("MultiSkins", skins + "]");
    AddTexture(j, "Texture", a.Tex);
    j.AddByte("LightBrightness", a.LightBrightness).AddByte("LightHue", a.LightHue);
    j.AddByte("LightSaturation", a.LightSaturation).AddByte("LightRadius", a.LightRadius);
    j.AddByte("LightPeriod", a.LightPeriod).AddByte("LightPhase", a.LightPhase).AddByte("LightCone", a.LightCone);
    j.Add("LightEffect", a.LightEffect).Add("LightType", a.LightType);
    j.AddByte("bSpecialLit", a.bSpecialLit).AddByte("bLightOff", a.bLightOff);
    j.Add("Brush", a.Brush != nullptr).Add("PrePivot", a.PrePivot);
    AddMesh(j, "Mesh", a.MeshRef);
    j.Add("AnimSequence", a.AnimSequence).Add("AnimFrame", a.AnimFrame).Add("AnimRate", a.AnimRate);
    j.Add("FiredNotifies", a.FiredNotifies);
    j.AddByte("bTimerActive", a.bTimerActive).AddByte("bTimerLoop", a.bTimerLoop);
    j.Add("TimerRate", a.TimerRate).Add("TimerCounter", a.TimerCounter);
    j.Add("BrushRadius", a.BrushRadius);
}

void AddClassFields(JsonLine& j, const Actor& a) {
    if (auto* p = dynamic_cast<const ScriptedPawn*>(&a)) {
        j.Add("Health", p->Health).AddByte("bDead", p->bDead).Add("SightRadius", p->SightRadius);
        j.Add("LoseRadius", p->LoseRadius).Add("RangedProjectile", p->RangedProjectile).Add("MeleeRange", p->MeleeRange);
        j.AddByte("bCanMove", p->bCanMove).AddByte("bFlyer", p->bFlyer).Add("GroundSpeed", p->GroundSpeed);
        j.Add("AirSpeed", p->AirSpeed).AddRaw("IdleAnims", StringList(p->IdleAnims)).Add("MoveAnim", p->MoveAnim);
        j.Add("MoveFireAnim", p->MoveFireAnim).AddRaw("RangedAnims", StringList(p->RangedAnims));
        j.AddRaw("MeleeAnims", StringList(p->MeleeAnims)).AddRaw("DeathAnims", StringList(p->DeathAnims));
        j.AddByte("bAlerted", p->bAlerted).AddByte("bFalling", p->bFalling);
        if (auto* b = dynamic_cast<const Bird1*>(&a)) {
            j.Add("HomeLocation", b->HomeLocation).Add("CircleRadius", b->CircleRadius).Add("FlightTime", b->FlightTime);
        }
    } else if (auto* p = dynamic_cast<const PlayerPawn*>(&a)) {
        j.Add("Health", p->Health).Add("LastZoneDamageTime", p->LastZoneDamageTime);
        std::string items = "[";
        for (int i = 0; i < p->Inventory.Num(); ++i) {
            items += (i ? "," : "") + JsonLine::Quote(p->Inventory[i]->Name);
        }
        j.AddRaw("Inventory", items + "]").Add("LastFireTime", p->LastFireTime).Add("GroundSpeed", p->GroundSpeed);
        j.Add("EyeHeight", p->EyeHeight).Add("BaseEyeHeight", p->BaseEyeHeight);
        j.AddRaw("ViewFlash", "[" + JsonLine::Number(p->ViewFlash[0], true) + "," + JsonLine::Number(p->ViewFlash[1], true) +
                                  "," + JsonLine::Number(p->ViewFlash[2], true) + "," +
                                  JsonLine::Number(p->ViewFlash[3], true) + "]");
        j.Add("WalkVelocity", p->WalkVelocity);
        AddActorRef(j, "CurrentZone", p->CurrentZone);
        AddActorRef(j, "ViewZone", p->ViewZone);
        j.AddByte("bViewUnderwater", p->bViewUnderwater);
    } else if (auto* m = dynamic_cast<const Mover*>(&a)) {
        j.Add("MainScale", m->MainScale).Add("PostScale", m->PostScale).Add("BasePos", m->BasePos);
        j.Add("BaseRot", m->BaseRot).AddByte("NumKeys", m->NumKeys).Add("MoveTime", m->MoveTime);
        j.Add("StayOpenTime", m->StayOpenTime).Add("KeyAlpha", m->KeyAlpha).AddByte("bGlide", m->bGlide);
        j.Add("StayOpenCounter", m->StayOpenCounter).AddByte("bTimedClose", m->bTimedClose);
        j.Add("MoverState", static_cast<int32_t>(m->MoverState)).AddByte("bPawnOnTop", m->bPawnOnTop);
        std::string keys = "[";
        for (int i = 0; i < kMoverKeys; ++i) {
            const Vector& k = m->KeyPos[i];
            keys += std::string(i ? "," : "") + "[" + JsonLine::Number(k.X, true) + "," + JsonLine::Number(k.Y, true) + "," +
                    JsonLine::Number(k.Z, true) + "]";
        }
        j.AddRaw("KeyPos", keys + "]");
    } else if (auto* d = dynamic_cast<const Dispatcher*>(&a)) {
        j.Add("NumOutEvents", d->NumOutEvents).AddByte("bActive", d->bActive).Add("Index", d->Index);
    } else if (auto* t = dynamic_cast<const TriggerLight*>(&a)) {
        j.AddByte("SavedBrightness", t->SavedBrightness);
    } else if (auto* e = dynamic_cast<const Earthquake*>(&a)) {
        j.Add("magnitude", e->magnitude).Add("duration", e->duration).Add("radius", e->radius);
        j.AddByte("bThrowPlayer", e->bThrowPlayer).Add("remainingTime", e->remainingTime);
    } else if (auto* c = dynamic_cast<const ExplosionChain*>(&a)) {
        j.AddByte("bOnlyTriggerable", c->bOnlyTriggerable).Add("Damage", c->Damage).Add("Size", c->Size);
        j.Add("Delaytime", c->Delaytime).AddByte("bExploding", c->bExploding);
    } else if (auto* s = dynamic_cast<const DynamicAmbientSound*>(&a)) {
        j.Add("numSounds", s->numSounds).Add("lastSound", s->lastSound).Add("rePlayTime", s->rePlayTime);
    } else if (auto* z = dynamic_cast<const ZoneInfo*>(&a)) {
        j.AddByte("bWaterZone", z->bWaterZone).Add("AmbientBrightness", z->AmbientBrightness);
        j.Add("AmbientHue", z->AmbientHue).Add("AmbientSaturation", z->AmbientSaturation);
        j.Add("TexUPanSpeed", z->TexUPanSpeed).Add("TexVPanSpeed", z->TexVPanSpeed).Add("AmbientColor", z->AmbientColor);
        if (auto* l = dynamic_cast<const LevelInfo*>(&a)) {
            j.Add("Brightness", l->Brightness);
        }
        if (auto* dz = dynamic_cast<const DynamicZoneInfo*>(&a)) {
            j.Add("BoxMax", dz->BoxMax).Add("BoxMin", dz->BoxMin).AddByte("bBoxShape", dz->bBoxShape);
        }
    } else if (auto* inv = dynamic_cast<const Inventory*>(&a)) {
        j.AddByte("bPickedUp", inv->bPickedUp);
        AddMesh(j, "PlayerViewMesh", inv->PlayerViewMesh);
        j.Add("PlayerViewOffset", inv->PlayerViewOffset).Add("PlayerViewScale", inv->PlayerViewScale);
    } else if (auto* pr = dynamic_cast<const Projectile*>(&a)) {
        j.Add("LifeSpan", pr->LifeSpan);
    } else if (auto* fx = dynamic_cast<const AnimSpriteEffect*>(&a)) {
        j.Add("NumFrames", fx->NumFrames).Add("Pause", fx->Pause).Add("SpriteTime", fx->SpriteTime);
    } else if (auto* em = dynamic_cast<const Emitter*>(&a)) {
        j.Add("ParticleCount", em->ParticleCount).Add("Particles", em->Particles.Num());
    } else if (auto* w = dynamic_cast<const WavySurfaceInfo*>(&a)) {
        j.Add("XGridSpace", w->XGridSpace).Add("YGridSpace", w->YGridSpace).Add("WaveTime", w->WaveTime);
    }
}

} // namespace

std::string DumpActorJson(const Actor& actor, int index) {
    JsonLine j;
    j.Add("Index", index).Add("EngineClass", EngineClassName(actor.GetEngineClass()));
    AddCommon(j, actor);
    AddClassFields(j, actor);
    j.Add("Tag", actor.GetProperty("Tag")).Add("Event", actor.GetProperty("Event"));
    return j.Finish();
}

} // namespace orv
