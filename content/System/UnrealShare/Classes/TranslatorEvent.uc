//=============================================================================
// TranslatorEvent: Shows a message on the translator while the player stands in it.
//=============================================================================
class TranslatorEvent expands Triggers;

defaultproperties
{
	bCollideActors=True
	CollisionRadius=40.000000
	CollisionHeight=40.000000
	Message="Translator message"
}
