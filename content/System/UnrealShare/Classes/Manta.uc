//=============================================================================
// Manta: A flying ray that dives at its prey and stings with its tail.
//=============================================================================
class Manta expands ScriptedPawn;

#exec MESH IMPORT MESH=Manta1 ANIVFILE=MODELS\Manta1_a.3d DATAFILE=MODELS\Manta1_d.3d
#exec MESH ORIGIN MESH=Manta1 X=0 Y=0 Z=0 YAW=0
#exec MESH SEQUENCE MESH=Manta1 SEQ=Still STARTFRAME=0 NUMFRAMES=1 RATE=1
#exec MESH SEQUENCE MESH=Manta1 SEQ=Fly STARTFRAME=1 NUMFRAMES=16 RATE=15
#exec MESH SEQUENCE MESH=Manta1 SEQ=Sting STARTFRAME=17 NUMFRAMES=12 RATE=14
#exec MESH SEQUENCE MESH=Manta1 SEQ=Whip STARTFRAME=29 NUMFRAMES=12 RATE=14
#exec MESH SEQUENCE MESH=Manta1 SEQ=Death STARTFRAME=41 NUMFRAMES=16 RATE=12
#exec MESH NOTIFY MESH=Manta1 SEQ=Sting TIME=0.5 FUNCTION=StabDamageTarget
#exec MESH NOTIFY MESH=Manta1 SEQ=Whip TIME=0.5 FUNCTION=WhipDamageTarget
#exec MESHMAP SCALE MESHMAP=Manta1 X=0.1 Y=0.1 Z=0.2
#exec MESHMAP SETTEXTURE MESHMAP=Manta1 NUM=0 TEXTURE=UnrealShare.Skins.JManta1

defaultproperties
{
	Health=80
	AirSpeed=300
	CollisionRadius=28.000000
	CollisionHeight=12.000000
	Mesh=LodMesh'UnrealShare.Manta1'
	Acquire=Sound'UnrealShare.Manta.MantaAcquire'
	HitSound1=Sound'UnrealShare.Manta.MantaHit'
	Die=Sound'UnrealShare.Manta.MantaDie'
}
