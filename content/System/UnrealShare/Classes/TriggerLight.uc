//=============================================================================
// TriggerLight: A light that triggers turn on and off.
//=============================================================================
class TriggerLight expands Light;

defaultproperties
{
	bStatic=False
	InitialState=TriggerToggle
	bInitiallyOn=False
}
