//=============================================================================
// SpecialEvent: Plays a sound, shows a message or hurts whoever triggered it.
//=============================================================================
class SpecialEvent expands Triggers;

defaultproperties
{
	InitialState=PlaySoundEffect
	Damage=10
}
