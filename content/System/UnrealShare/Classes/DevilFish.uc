//=============================================================================
// DevilFish: A predatory fish with a mouth full of teeth.
//=============================================================================
class DevilFish expands ScriptedPawn;

#exec MESH IMPORT MESH=Fish ANIVFILE=MODELS\Fish_a.3d DATAFILE=MODELS\Fish_d.3d
#exec MESH ORIGIN MESH=Fish X=0 Y=0 Z=0 YAW=0
#exec MESH SEQUENCE MESH=Fish SEQ=Still STARTFRAME=0 NUMFRAMES=1 RATE=1
#exec MESH SEQUENCE MESH=Fish SEQ=breathing STARTFRAME=1 NUMFRAMES=16 RATE=8
#exec MESH SEQUENCE MESH=Fish SEQ=Swimming STARTFRAME=17 NUMFRAMES=12 RATE=14
#exec MESH SEQUENCE MESH=Fish SEQ=bite1 STARTFRAME=29 NUMFRAMES=10 RATE=14
#exec MESH SEQUENCE MESH=Fish SEQ=bite2 STARTFRAME=39 NUMFRAMES=10 RATE=14
#exec MESH SEQUENCE MESH=Fish SEQ=bite3 STARTFRAME=49 NUMFRAMES=10 RATE=14
#exec MESH SEQUENCE MESH=Fish SEQ=fighter STARTFRAME=59 NUMFRAMES=12 RATE=16
#exec MESH SEQUENCE MESH=Fish SEQ=Dead1 STARTFRAME=71 NUMFRAMES=16 RATE=10
#exec MESH NOTIFY MESH=Fish SEQ=bite1 TIME=0.55 FUNCTION=HitDamageTarget
#exec MESH NOTIFY MESH=Fish SEQ=bite2 TIME=0.55 FUNCTION=HitDamageTarget
#exec MESH NOTIFY MESH=Fish SEQ=bite3 TIME=0.55 FUNCTION=HitDamageTarget
#exec MESH NOTIFY MESH=Fish SEQ=fighter TIME=0.5 FUNCTION=HitDamageTarget
#exec MESHMAP SCALE MESHMAP=Fish X=0.05 Y=0.05 Z=0.1
#exec MESHMAP SETTEXTURE MESHMAP=Fish NUM=0 TEXTURE=UnrealShare.Skins.JFish1

defaultproperties
{
	Health=60
	AirSpeed=260
	CollisionRadius=22.000000
	CollisionHeight=12.000000
	Mesh=LodMesh'UnrealShare.Fish'
	Acquire=Sound'UnrealShare.DevilFish.FishAcquire'
	HitSound1=Sound'UnrealShare.DevilFish.FishHit'
	Die=Sound'UnrealShare.DevilFish.FishDie'
}
