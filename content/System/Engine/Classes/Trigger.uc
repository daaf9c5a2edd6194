//=============================================================================
// Trigger: Fires its Event when the player touches it (or shoots it).
//=============================================================================
class Trigger expands Triggers;

defaultproperties
{
	bCollideActors=True
	CollisionRadius=40.000000
	CollisionHeight=40.000000
	TriggerType=TT_PlayerProximity
	bInitiallyActive=True
}
