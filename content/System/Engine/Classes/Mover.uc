//=============================================================================
// Mover: Doors, lifts and platforms that move between key positions.
//=============================================================================
class Mover expands Brush;

defaultproperties
{
	bHidden=False
	InitialState=BumpOpenTimed
	MoverGlideType=MV_GlideByTime
	NumKeys=2
	MoveTime=1.000000
	StayOpenTime=4.000000
	OpeningSound=Sound'Orvane.Doors.DoorOpen'
	OpenedSound=Sound'Orvane.Doors.DoorOpened'
	ClosingSound=Sound'Orvane.Doors.DoorClose'
	ClosedSound=Sound'Orvane.Doors.DoorClosed'
}
